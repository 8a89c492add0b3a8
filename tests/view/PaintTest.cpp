// What a picture box's drawing looks like on the screen: primitives on the pixels their
// twips name at any scale, text as wide as it measures, and each frame repainted where it
// changed without leaving anything behind.
#include "view/ElementPainter.h"
#include "view/PictureBox.h"
#include "view/PictureBoxWidget.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <functional>
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

QImage render(const PictureBox& box, double ratio = 1) {
    QImage image(QSize(kWidth, kHeight) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    ElementPainter::paint(painter, box);
    return image;
}

Colour at(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

TEST(Paint, PrimitivesLandOnTheirPixelsAtAnyScale) {
    const struct {
        const char* what;
        std::function<void(PictureBox&)> draw;
        std::vector<std::pair<QPoint, Colour>> probes; // in 1x pixels
    } cases[] = {
        {"line",
         [](PictureBox& b) { b.Line(150, 150, 750, 150, kInk); },
         {{{10, 10}, kInk}, {{49, 10}, kInk}, {{30, 9}, kGround}, {{30, 11}, kGround}}},
        {"box outline",
         [](PictureBox& b) { b.LineBox(150, 300, 600, 600, kInk); },
         {{{10, 20}, kInk}, {{40, 40}, kInk}, {{25, 30}, kGround}, {{41, 30}, kGround}}},
        {"filled box",
         [](PictureBox& b) { b.LineFilled(150, 300, 600, 600, kInk); },
         {{{10, 20}, kInk}, {{25, 30}, kInk}, {{9, 30}, kGround}, {{25, 41}, kGround}}},
        {"wide line",
         [](PictureBox& b) {
             b.SetDrawWidth(3);
             b.Line(150, 450, 750, 450, kInk);
         },
         {{{30, 29}, kInk}, {{30, 31}, kInk}, {{30, 27}, kGround}, {{30, 33}, kGround}}},
    };
    for (const auto& c : cases) {
        PictureBox box = makeBox();
        c.draw(box);
        for (const int ratio : {1, 2}) {
            const QImage image = render(box, ratio);
            for (const auto& [p, colour] : c.probes)
                EXPECT_EQ(at(image, p.x() * ratio, p.y() * ratio), colour)
                    << c.what << " at " << p.x() << "," << p.y() << " ratio " << ratio;
        }
    }
}

// Centred texts rely on it: the ink of a printed text spans what TextWidth says.
TEST(Paint, TextWidthMeasuresWhatPrintDraws) {
    for (const auto& [text, size, bold] : {std::tuple{"F I R E", 8.25, true},
                                           {"GAME OVER", 12.0, true},
                                           {"Score: 12,340 points", 8.25, false}}) {
        PictureBox box = makeBox();
        box.SetFontSize(size);
        box.SetFontBold(bold);
        box.SetCurrentX(15);
        box.Print(QString::fromLatin1(text));
        const QImage image = render(box);
        int first = kWidth, last = -1;
        for (int x = 0; x < kWidth; ++x)
            for (int y = 0; y < kHeight; ++y)
                if (at(image, x, y) != kGround) {
                    first = std::min(first, x);
                    last = x;
                }
        // Glyphs keep a little side bearing inside their advance; a pixel or two each side.
        EXPECT_NEAR(first, 1, 2) << text;
        EXPECT_NEAR(last + 1, 1 + box.TextWidth(QString::fromLatin1(text)) / 15, 2) << text;
    }
}

// A window holding one picture box, as the form holds the play field, noting what it is
// asked to repaint.
class Field : public QWidget {
public:
    explicit Field(PictureBox& box) : widget_(new PictureBoxWidget(box, this)) {
        setFixedSize(kWidth + 20, kHeight + 20);
        widget_->installEventFilter(this);
        show();
        while (!windowHandle()->isExposed())
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QImage shown() const {
        return screen()
            ->grabWindow(winId())
            .toImage()
            .copy(0, 0, kWidth, kHeight)
            .convertToFormat(QImage::Format_RGB32);
    }
    int repainted = 0; // pixels since the last frame

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint)
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                repainted += r.width() * r.height();
        return false;
    }

private:
    PictureBoxWidget* widget_;
};

// Frames as the game draws them: a moving target, a zigzag beam that flips each frame, a
// line of praise for a while, a frame that only clears, then a new back colour.
TEST(Paint, EachFrameRepaintsWhatChangedAndTheScreenMatchesAWholePaint) {
    PictureBox box = makeBox();
    Field field(box);
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
        EXPECT_EQ(field.shown(), render(box)) << "frame " << frame;
        EXPECT_GT(field.repainted, 0) << "frame " << frame;
        if (frame != 21) {
            EXPECT_LT(field.repainted, kWidth * kHeight / 4) << "frame " << frame;
        }
    }
}

} // namespace
