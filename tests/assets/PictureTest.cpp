// The pictures compiled into the program load from their resource paths at their pixel
// sizes, and the score, which sits on the computer's screen, reads as text on the screen
// rather than as a box on it: the screen has the label's own colour under and beside it, at
// one and at two screen pixels per picture pixel, whichever computer the stage shows.

#include "forms/Twips.h"
#include "game/VarnothForm.h"
#include "game/frmVarnoth.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QSvgRenderer>

namespace {

TEST(Pictures, LoadAtTheirPixelSize) {
    const struct {
        const char* name;
        QSize size;
    } pictures[] = {
        {"window-icon", {16, 16}},     {"explosion", {38, 38}},  {"tank-top-left", {264, 31}},
        {"tank-top-right", {264, 31}}, {"panel", {520, 74}},     {"shading-strip", {25, 15}},
        {"computer-1", {77, 76}},      {"computer-2", {77, 76}}, {"device-1", {50, 126}},
        {"device-2", {50, 126}},       {"device-3", {50, 126}},  {"device-4", {50, 126}},
        {"device-5", {50, 126}}};
    for (const auto& p : pictures) {
        QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(p.name)));
        EXPECT_TRUE(renderer.isValid()) << p.name;
        EXPECT_EQ(renderer.defaultSize(), p.size) << p.name;
        EXPECT_EQ(renderer.viewBox(), QRect(QPoint(), p.size)) << p.name;
    }
}

TEST(Pictures, ComputerScreenHasTheScoreLabelsColourUnderAndBesideIt) {
    VarnothForm form(SharedArtwork());
    ScriptedPlatform platform;
    MemoryHighScores store;
    frmVarnoth game(form, platform, store);
    // The label in the computer picture's own pixels, and a pixel of screen either side.
    const QRect label = twips::toPixels(form.lblScore.Bounds())
                            .translated(-twips::toPixels(form.imgComputer.Bounds()).topLeft())
                            .adjusted(-1, 0, 1, 0);
    for (const Long meter : {0, 1050}) { // the first stage and the top one
        game.Record().lExtraPoints = meter;
        game.Record().lStage = -1;
        game.UpdateStage(0);
        const QRgb screen = toQColor(form.lblScore.BackColor()).rgba();
        for (const int scale : {1, 2}) {
            QImage image(QSize(77, 76) * scale, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            image.setDevicePixelRatio(scale);
            QPainter painter(&image);
            form.imgComputer.Picture()->paint(painter, QRectF(0, 0, 77, 76));
            painter.end();
            for (int y = label.top() * scale; y < (label.bottom() + 1) * scale; ++y)
                for (int x = label.left() * scale; x < (label.right() + 1) * scale; ++x)
                    ASSERT_EQ(image.pixel(x, y), screen)
                        << "meter " << meter << " at " << scale << "x: " << x << ", " << y;
        }
    }
}

} // namespace
