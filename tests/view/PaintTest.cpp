// What a picture box's drawing looks like on the screen: primitives on the pixels their
// twips name at any scale, and each frame repainted where it changed without leaving
// anything behind.
#include "tests/view/Render.h"
#include "view/PictureBox.h"
#include "view/PictureBoxWidget.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr Colour kGround = RGB(0, 0, 128);
constexpr Colour kInk = RGB(255, 255, 0);
constexpr int kWidth = 300, kHeight = 120;

PictureBox makeBox() {
    return PictureBox(
        QStringLiteral("picTest"), {0, 0, kWidth * 15.0, kHeight * 15.0},
        {kGround, RGB(255, 255, 255), {QStringLiteral("Verdana"), 8.25, false}, {}, 0});
}

TEST(Paint, PrimitivesLandOnTheirPixelsAtAnyScale) {
    PictureBox box = makeBox();
    box.Line(150, 150, 750, 150, kInk);
    box.LineBox(150, 300, 600, 600, kInk);
    box.LineFilled(1050, 300, 1500, 600, kInk);
    box.SetDrawWidth(3);
    box.Line(150, 1200, 750, 1200, kInk);
    // In 1x pixels, along and beside: the line, the outline, the filled box, the wide line.
    const struct {
        int x, y;
        Colour colour;
    } probes[] = {{10, 10, kInk}, {49, 10, kInk}, {30, 9, kGround},  {30, 11, kGround},
                  {10, 20, kInk}, {40, 40, kInk}, {25, 30, kGround}, {41, 30, kGround},
                  {70, 20, kInk}, {85, 30, kInk}, {69, 30, kGround}, {85, 41, kGround},
                  {30, 79, kInk}, {30, 81, kInk}, {30, 77, kGround}, {30, 83, kGround}};
    for (const int ratio : {1, 2}) {
        const QImage image = Render(QRect(0, 0, kWidth, kHeight), ratio, box);
        for (const auto& p : probes)
            EXPECT_EQ(image.pixel(p.x * ratio, p.y * ratio), toQColor(p.colour).rgb())
                << p.x << "," << p.y << " at " << ratio << "x";
    }
}

// The picture box on its own in a window, noting what it is asked to repaint.
class Field : public PictureBoxWidget {
public:
    using PictureBoxWidget::PictureBoxWidget;
    int repainted = 0; // pixels since the last frame

protected:
    void paintEvent(QPaintEvent* event) override {
        for (const QRect& r : event->region())
            repainted += r.width() * r.height();
        PictureBoxWidget::paintEvent(event);
    }
};

// Frames as the game draws them: a moving target, a zigzag beam that flips each frame, a
// line of praise for a while, a frame that only clears, then a new back colour.
TEST(Paint, EachFrameRepaintsWhatChangedAndTheScreenMatchesAWholePaint) {
    PictureBox box = makeBox();
    Field field(box, nullptr);
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    for (int frame = 0; frame < 24; ++frame) {
        box.Cls();
        box.SetBackColor(frame <= 20 ? kGround : RGB(128, 0, 0));
        const float x = 300.0F + 105.0F * static_cast<float>(frame);
        if (frame != 20) {
            box.LineFilled(x, 900, x + 400, 1200, kInk);
            box.LineBox(x, 900, x + 400, 1200, RGB(0, 0, 0));
        }
        for (float y = 850; frame >= 5 && frame < 12 && y > 0; y -= 100) {
            const float left = frame % 2 == 0 ? 2000 : 2075, right = 4075 - left;
            box.Line(left, y, right, y - 50, RGB(255, 0, 0));
            box.Line(right, y - 50, left, y - 100, RGB(255, 0, 0));
        }
        if (frame >= 8 && frame < 16) {
            box.SetCurrentX(2700);
            box.SetCurrentY(150);
            box.Print(QStringLiteral("Great, dude! 312 pts"));
        }
        field.repainted = 0;
        // The game's yield is one pass of the event loop: the frame must show after it.
        QCoreApplication::processEvents();
        const QImage shown =
            field.screen()->grabWindow(field.winId(), 0, 0, kWidth, kHeight).toImage();
        EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
                  Render(QRect(0, 0, kWidth, kHeight), 1, box))
            << "frame " << frame;
        // Only the frame with the new back colour repaints the whole field.
        EXPECT_TRUE(frame == 21 || field.repainted < kWidth * kHeight / 4) << "frame " << frame;
    }
}

} // namespace
