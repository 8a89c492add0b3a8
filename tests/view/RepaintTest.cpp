#include "view/ElementPainter.h"
#include "view/PictureBox.h"
#include "view/PictureBoxWidget.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr Colour kGround = RGB(0, 0, 128);
constexpr Colour kInk = RGB(255, 255, 0);
constexpr int kWidth = 300, kHeight = 120;

PictureBox makeBox() {
    return PictureBox(QStringLiteral("picTest"), {0, 0, kWidth * 15.0, kHeight * 15.0},
                      {kGround, RGB(255, 255, 255), {}, {}, 0});
}

QImage render(const PictureBox& box, double ratio) {
    QImage image(QSize(kWidth, kHeight) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    ElementPainter::paint(painter, box);
    return image;
}

// A window holding one picture box, as the form holds the play field, that notes each area
// it is asked to repaint.
class Field : public QWidget {
public:
    explicit Field(PictureBox& box) : widget_(new PictureBoxWidget(box, this)) {
        setFixedSize(kWidth + 20, kHeight + 20);
        widget_->installEventFilter(this);
        show();
        while (!windowHandle()->isExposed())
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        repainted_ = QRegion();
    }

    // What the screen shows of the box now.
    QImage shown() const {
        return screen()
            ->grabWindow(winId())
            .toImage()
            .copy(0, 0, kWidth, kHeight)
            .convertToFormat(QImage::Format_RGB32);
    }

    // The area repainted since the last call.
    QRegion takeRepainted() { return std::exchange(repainted_, QRegion()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint)
            repainted_ += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    PictureBoxWidget* widget_;
    QRegion repainted_;
};

int area(const QRegion& region) {
    int pixels = 0;
    for (const QRect& r : region)
        pixels += r.width() * r.height();
    return pixels;
}

// One frame as the game draws it: a target at x, a zigzag beam that flips each frame, and a
// line of praise while it lasts.
void drawFrame(PictureBox& box, int frame) {
    box.Cls();
    // A frame that only clears, and a new back colour, which must repaint the whole box.
    if (frame == 20)
        return;
    box.SetBackColor(frame < 20 ? kGround : RGB(128, 0, 0));
    const float x = 300.0F + 105.0F * static_cast<float>(frame);
    box.SetDrawWidth(1);
    box.LineFilled(x, 900, x + 400, 1200, kInk);
    box.LineBox(x, 900, x + 400, 1200, RGB(0, 0, 0));
    if (frame >= 5 && frame < 12) {
        box.SetDrawWidth(2);
        const bool phase = frame % 2 == 0;
        for (float y = 850; y > 0; y -= 100) {
            box.Line(phase ? 2000 : 2075, y, phase ? 2075 : 2000, y - 50, RGB(255, 0, 0));
            box.Line(phase ? 2075 : 2000, y - 50, phase ? 2000 : 2075, y - 100, RGB(255, 0, 0));
        }
        box.SetDrawWidth(1);
    }
    if (frame >= 8 && frame < 16) {
        box.SetFontSize(8);
        box.SetFontBold(true);
        box.SetForeColor(RGB(0, 128, 255));
        box.SetCurrentX(2700);
        box.SetCurrentY(150);
        box.Print(QStringLiteral("Great, dude! 312 pts"));
    }
}

// Only the places that changed are repainted, yet after every frame the screen shows exactly
// what painting the whole box would: nothing is left behind where a thing was.
TEST(Repaint, EachFrameRepaintsWhatChangedAndTheScreenMatchesAWholePaint) {
    PictureBox box = makeBox();
    Field field(box);
    for (int frame = 0; frame < 24; ++frame) {
        drawFrame(box, frame);
        // The game's yield is one pass of the event loop: the frame must show after it.
        QCoreApplication::processEvents();
        const QRegion repainted = field.takeRepainted();
        EXPECT_EQ(field.shown(), render(box, 1)) << "frame " << frame;
        EXPECT_FALSE(repainted.isEmpty()) << "frame " << frame;
        // Far less than the whole field changes from one frame to the next.
        if (frame != 21) {
            EXPECT_LT(area(repainted), kWidth * kHeight / 4) << "frame " << frame;
        }
    }
    // The praise stands still while the target moves under it: its line is not repainted.
    drawFrame(box, 9);
    QCoreApplication::processEvents();
    field.takeRepainted();
    drawFrame(box, 10);
    QCoreApplication::processEvents();
    EXPECT_FALSE(field.takeRepainted().intersects(QRect(185, 12, 100, 8)));
}

} // namespace
