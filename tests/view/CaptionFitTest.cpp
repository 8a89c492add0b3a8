// Every caption the game writes shows whole in its element's own font, at one and at two
// screen pixels per logical pixel: no glyph cut at an edge, no word pushed onto a hidden line.
// Where the original face itself did not fit, the label wraps as it did there and shows the
// words that fit its height.

#include "game/HighScoreStore.h"
#include "game/frmVarnoth.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/QtTestMain.h"
#include "view/ElementPainter.h"
#include "view/Label.h"
#include "view/PictureBox.h"
#include "view/Twips.h"
#include "view/VarnothForm.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

class NoHighScores : public HighScoreStore {
public:
    void LoadHighScore(QString&, double&) override {}
    void SaveHighScore(QString&, double&) override {}
};

// The window's pixels in `area` (logical pixels) at `scale` device pixels per logical pixel.
template <typename Paint> QImage Render(const QRect& area, int scale, Paint paint) {
    QImage image(area.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    paint(painter);
    return image;
}

// The device-pixel columns, first and last, that hold anything but `ground`; -1 when none.
std::pair<int, int> InkColumns(const QImage& image, QRgb ground) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != ground) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    return {first, last};
}

TEST(CaptionFit, EveryCaptionShowsWholeInItsElementsFont) {
    VarnothForm form(SharedArtwork());
    ScriptedPlatform platform;
    NoHighScores store;
    frmVarnoth game(form, platform, store);

    // Label, caption, and what of it shows: all of it unless the original wrapped it.
    const struct {
        Label& label;
        const char* caption;
        const char* shown;
    } labels[] = {
        {form.lblScore, "99,999", "99,999"},
        {form.lblScore, "99.999", "99.999"},
        {form.lblStat, "99 of 99 (100%)", "99 of 99 (100%)"},
        {form.lblStat, "100 of 100 (100%)", "100 of 100"},
        {form.lblExtras, "Stage 6: Upgraded to wireless interface",
         "Stage 6: Upgraded to wireless interface"},
        {form.lblExtras, "Stage 4: Upgraded to FF communication",
         "Stage 4: Upgraded to FF communication"},
        {form.lblHighScore, "WWWWWWWWWWWW 99,999 pts", "WWWWWWWWWWWW 99,999 pts"},
        {form.lblLives, "10", "10"},
    };
    for (const auto& c : labels)
        for (const int scale : {1, 2}) {
            SCOPED_TRACE(std::string(c.caption) + " at " + std::to_string(scale) + "x");
            Label& label = c.label;
            const QRect area = twips::toPixels(label.Bounds());
            const QRect inside = label.FlatFrame() ? area.adjusted(1, 1, -1, -1) : area;
            label.SetCaption(QString::fromLatin1(c.caption));
            const QImage seen =
                Render(inside, scale, [&](QPainter& p) { ElementPainter::paint(p, label); });
            // The words that should show, on a label half as wide again and twice as high, where
            // nothing wraps or is cut: all of their ink lies inside the real label, and the
            // real label shows exactly that.
            const double grow = label.Width() / 2;
            const double growLeft = label.Align() == Label::Alignment::Center ? grow : 0;
            Label roomy(label.Name(), label.Bounds().adjusted(-growLeft, 0, grow, label.Height()),
                        {label.BackColor(), label.ForeColor(), label.Font(), label.Align(),
                         label.FlatFrame()},
                        QString::fromLatin1(c.shown));
            const QRect roomyArea = twips::toPixels(roomy.Bounds());
            const QRect roomyInside =
                roomy.FlatFrame() ? roomyArea.adjusted(1, 1, -1, -1) : roomyArea;
            const QImage wide =
                Render(roomyInside, scale, [&](QPainter& p) { ElementPainter::paint(p, roomy); });
            const QRect insideInWide(inside.topLeft() - roomyInside.topLeft(), inside.size());
            const QRgb ground = toQColor(label.BackColor()).rgb();
            for (int y = 0; y < wide.height(); ++y)
                for (int x = 0; x < wide.width(); ++x)
                    if (!insideInWide.contains(QPoint(x / scale, y / scale))) {
                        ASSERT_EQ(wide.pixel(x, y), ground) << "ink at " << x << ", " << y;
                    }
            const QImage wideInside = wide.copy(QRect(insideInWide.topLeft() * scale, seen.size()));
            EXPECT_EQ(seen, wideInside.convertToFormat(seen.format()));
        }

    // What the game prints on its picture boxes: the fire button's label, and the game-over
    // lines of the best score the labels can show, centred as the game centres them.
    game.UpdateFrame();
    game.Record().dScore = 99999;
    game.Record().dHighScore = 99999;
    game.Record().lGameState = 3;
    game.tmrState_Timer();
    for (const PictureBox* box : {&form.picFire, &form.picGZone})
        for (const int scale : {1, 2}) {
            const QRect face(QPoint(0, 0), twips::toPixels(box->Bounds()).size());
            const QImage seen =
                Render(face, scale, [&](QPainter& p) { ElementPainter::paint(p, *box); });
            for (const DrawOp& op : box->Drawing()) {
                SCOPED_TRACE(op.text.toStdString() + " at " + std::to_string(scale) + "x");
                const QRect line(0, twips::toPixels(op.y1) * scale, seen.width(),
                                 QFontMetrics(op.font.toQFont()).height() * scale);
                const auto [first, last] =
                    InkColumns(seen.copy(line), toQColor(box->BackColor()).rgb());
                ASSERT_GT(first, 0);
                EXPECT_LT(last, seen.width() - 1);
                if (box == &form.picGZone) {
                    EXPECT_NEAR(first, seen.width() - 1 - last, 2 * scale);
                }
            }
        }
}

} // namespace
