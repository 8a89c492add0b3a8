// The pictures compiled into the program: each loads from its resource path at its pixel
// size, and the spots that window elements lie over have the colours the layout relies on,
// both at one and at two screen pixels per picture pixel. The score sits on the computer's
// screen, which must have the label's own colour at every stage, so the score reads as text
// on the screen rather than as a box on it.

#include "game/HighScoreStore.h"
#include "game/frmVarnoth.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/QtTestMain.h"
#include "view/Twips.h"
#include "view/VarnothForm.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>
#include <QSvgRenderer>
#include <iterator>
#include <ostream>
#include <vector>

namespace {

QString ResourcePath(const char* name) {
    return QStringLiteral(":/pictures/%1.svg").arg(QString::fromLatin1(name));
}

// The picture drawn onto a transparent image `scale` screen pixels per picture pixel.
QImage Render(const char* name, int scale) {
    QSvgRenderer renderer(ResourcePath(name));
    const QSize size = renderer.defaultSize() * scale;
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

// The first pixel of `area` (in picture pixels, scaled to screen pixels) that is not
// `expected`, described for the failure message; empty when every pixel matches.
QString FirstMismatch(const QImage& image, const QRect& area, int scale, QColor expected) {
    const QRect screen(area.topLeft() * scale, area.size() * scale);
    for (int y = screen.top(); y <= screen.bottom(); ++y)
        for (int x = screen.left(); x <= screen.right(); ++x) {
            const QColor seen = image.pixelColor(x, y);
            if (seen.rgba() != expected.rgba())
                return QStringLiteral("(%1, %2) is %3 alpha %4, expected %5 alpha %6")
                    .arg(x)
                    .arg(y)
                    .arg(seen.name())
                    .arg(seen.alpha())
                    .arg(expected.name())
                    .arg(expected.alpha());
        }
    return {};
}

struct PictureSize {
    const char* name;
    int width;
    int height;
};

void PrintTo(const PictureSize& picture, std::ostream* out) {
    *out << picture.name;
}

class PictureSizeTest : public ::testing::TestWithParam<PictureSize> {};

TEST_P(PictureSizeTest, LoadsFromItsResourceAtItsPixelSize) {
    const PictureSize& picture = GetParam();
    QSvgRenderer renderer(ResourcePath(picture.name));
    ASSERT_TRUE(renderer.isValid()) << picture.name;
    EXPECT_EQ(renderer.defaultSize(), QSize(picture.width, picture.height));
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, picture.width, picture.height));
}

INSTANTIATE_TEST_SUITE_P(
    AllPictures, PictureSizeTest,
    ::testing::Values(PictureSize{"window-icon", 16, 16}, PictureSize{"explosion", 38, 38},
                      PictureSize{"tank-top-left", 264, 31}, PictureSize{"tank-top-right", 264, 31},
                      PictureSize{"panel", 520, 74}, PictureSize{"shading-strip", 25, 15},
                      PictureSize{"computer-1", 77, 76}, PictureSize{"computer-2", 77, 76},
                      PictureSize{"device-1", 50, 126}, PictureSize{"device-2", 50, 126},
                      PictureSize{"device-3", 50, 126}, PictureSize{"device-4", 50, 126},
                      PictureSize{"device-5", 50, 126}));

struct Spot {
    const char* what;
    const char* picture;
    QRect area; // picture pixels
    QColor colour;
};

void PrintTo(const Spot& spot, std::ostream* out) {
    *out << spot.what;
}

const QColor kSocketGrey(128, 128, 128);
const QColor kPanelOutline(10, 30, 70);

Spot Socket(int index) {
    static const char* const names[] = {"socket 0", "socket 1", "socket 2", "socket 3", "socket 4",
                                        "socket 5", "socket 6", "socket 7", "socket 8", "socket 9"};
    // Inside the one-pixel outline of the 9 by 9 socket at x 16 + 16 * index, y 26.
    return {names[index], "panel", QRect(17 + 16 * index, 27, 7, 7), kSocketGrey};
}

std::vector<Spot> CoveredSpots() {
    std::vector<Spot> spots;
    for (int i = 0; i < 10; ++i)
        spots.push_back(Socket(i));
    spots.push_back(
        {"red display", "panel", QRect(QPoint(241, 12), QPoint(339, 35)), QColor(254, 0, 0)});
    spots.push_back({"red display frame, top", "panel", QRect(QPoint(240, 11), QPoint(340, 11)),
                     kPanelOutline});
    spots.push_back({"red display frame, left", "panel", QRect(QPoint(240, 11), QPoint(240, 36)),
                     kPanelOutline});
    spots.push_back({"lives plate under the word", "panel", QRect(QPoint(453, 26), QPoint(477, 41)),
                     QColor(224, 224, 224)});
    spots.push_back(
        {"message bar", "panel", QRect(QPoint(8, 50), QPoint(515, 65)), QColor(0, 0, 0)});
    spots.push_back(
        {"message bar frame, top", "panel", QRect(QPoint(7, 49), QPoint(516, 49)), kPanelOutline});
    spots.push_back({"message bar frame, bottom", "panel", QRect(QPoint(7, 66), QPoint(516, 66)),
                     kPanelOutline});
    spots.push_back(
        {"panel body", "panel", QRect(QPoint(186, 12), QPoint(194, 40)), QColor(0, 120, 240)});
    spots.push_back(
        {"panel ground", "panel", QRect(QPoint(0, 0), QPoint(170, 2)), QColor(255, 255, 255)});
    spots.push_back(
        {"left roof bar", "tank-top-left", QRect(QPoint(0, 18), QPoint(263, 24)), QColor(0, 0, 0)});
    spots.push_back({"left roof post", "tank-top-left", QRect(QPoint(256, 0), QPoint(263, 24)),
                     QColor(0, 0, 0)});
    spots.push_back({"right roof bar", "tank-top-right", QRect(QPoint(0, 18), QPoint(263, 24)),
                     QColor(0, 0, 0)});
    spots.push_back(
        {"right roof post", "tank-top-right", QRect(QPoint(0, 0), QPoint(7, 24)), QColor(0, 0, 0)});
    spots.push_back({"explosion core", "explosion", QRect(QPoint(14, 14), QPoint(24, 24)),
                     QColor(255, 255, 0)});
    spots.push_back({"explosion ground", "explosion", QRect(QPoint(37, 0), QPoint(37, 0)),
                     QColor(255, 255, 255)});
    spots.push_back(
        {"icon corner", "window-icon", QRect(QPoint(0, 15), QPoint(15, 15)), QColor(0, 0, 0, 0)});
    spots.push_back(
        {"device ground", "device-1", QRect(QPoint(0, 0), QPoint(49, 8)), QColor(255, 255, 255)});
    return spots;
}

class CoveredSpotTest : public ::testing::TestWithParam<Spot> {};

TEST_P(CoveredSpotTest, HasItsColourAtOneScreenPixelPerPicturePixel) {
    const Spot& spot = GetParam();
    const QString mismatch = FirstMismatch(Render(spot.picture, 1), spot.area, 1, spot.colour);
    EXPECT_TRUE(mismatch.isEmpty()) << mismatch.toStdString();
}

TEST_P(CoveredSpotTest, HasItsColourAtTwoScreenPixelsPerPicturePixel) {
    const Spot& spot = GetParam();
    const QString mismatch = FirstMismatch(Render(spot.picture, 2), spot.area, 2, spot.colour);
    EXPECT_TRUE(mismatch.isEmpty()) << mismatch.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pictures, CoveredSpotTest, ::testing::ValuesIn(CoveredSpots()));

class NoHighScores : public HighScoreStore {
public:
    void LoadHighScore(QString&, double&) override {}
    void SaveHighScore(QString&, double&) override {}
};

TEST(ComputerScreenTest, HasTheScoreLabelsColourUnderAndBesideIt) {
    VarnothForm form(SharedArtwork());
    ScriptedPlatform platform;
    NoHighScores store;
    frmVarnoth game(form, platform, store);
    // The label in the computer picture's own pixels, and a pixel of screen either side.
    const QRect label = twips::toPixels(form.lblScore.Bounds())
                            .translated(-twips::toPixels(form.imgComputer.Bounds()).topLeft())
                            .adjusted(-1, 0, 1, 0);
    for (const Long meter : {0, 1050}) {
        game.Record().lExtraPoints = meter;
        game.Record().lStage = -1;
        game.UpdateStage(0);
        ASSERT_TRUE(form.imgComputer.Picture());
        const QString picture = form.imgComputer.Picture()->Name();
        const QColor screen = toQColor(form.lblScore.BackColor());
        for (const int scale : {1, 2}) {
            QImage image(QSize(77, 76) * scale, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            image.setDevicePixelRatio(scale);
            QPainter painter(&image);
            form.imgComputer.Picture()->paint(painter, QRectF(0, 0, 77, 76));
            painter.end();
            const QString mismatch = FirstMismatch(image, label, scale, screen);
            EXPECT_TRUE(mismatch.isEmpty())
                << picture.toStdString() << " at " << scale << "x: " << mismatch.toStdString();
        }
    }
}

TEST(ShadingStripTest, EachRowHasItsGrey) {
    const int greys[] = {252, 243, 224, 207, 192, 176, 152, 122, 35, 2, 0, 0, 1, 80, 217};
    const QImage strip = Render("shading-strip", 1);
    ASSERT_EQ(strip.height(), static_cast<int>(std::size(greys)));
    for (int row = 0; row < strip.height(); ++row) {
        const int g = greys[row];
        const QString mismatch = FirstMismatch(strip, QRect(0, row, 25, 1), 1, QColor(g, g, g));
        EXPECT_TRUE(mismatch.isEmpty()) << "row " << row << ": " << mismatch.toStdString();
    }
}

} // namespace
