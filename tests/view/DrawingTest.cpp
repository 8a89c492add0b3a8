#include "view/ElementPainter.h"
#include "view/PictureBox.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr Colour kGround = RGB(255, 255, 255);
constexpr Colour kInk = RGB(200, 0, 50);

PictureBox makeBox(int widthPixels = 60) {
    return PictureBox(QStringLiteral("picTest"), {0, 0, widthPixels * 15.0, 750},
                      {kGround, RGB(0, 0, 0), {QStringLiteral("Verdana"), 8.25, false}, {}, 0});
}

// The box as it shows on a screen with the given device pixel ratio.
QImage render(const PictureBox& box, double ratio) {
    QImage image(QSize(static_cast<int>(box.Width() / 15), 50) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter painter(&image);
    ElementPainter::paint(painter, box);
    return image;
}

Colour at(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// Drawing primitives land on the pixels their twips name (15 twips a pixel), at 1x and,
// at twice the resolution, on the doubled pixels.
TEST(Drawing, PrimitivesLandOnTheirPixels) {
    struct Probe {
        int x, y;
        Colour expected;
    };
    const struct {
        const char* what;
        void (*draw)(PictureBox&);
        std::vector<Probe> probes; // in 1x pixels
    } cases[] = {
        {"horizontal line",
         [](PictureBox& b) { b.Line(150, 150, 750, 150, kInk); },
         {{10, 10, kInk}, {49, 10, kInk}, {30, 9, kGround}, {30, 11, kGround}}},
        {"box outline",
         [](PictureBox& b) { b.LineBox(150, 300, 600, 600, kInk); },
         {{10, 20, kInk}, {40, 40, kInk}, {25, 30, kGround}, {9, 30, kGround}, {41, 30, kGround}}},
        {"filled box",
         [](PictureBox& b) { b.LineFilled(150, 300, 600, 600, kInk); },
         {{10, 20, kInk}, {40, 40, kInk}, {25, 30, kInk}, {9, 30, kGround}, {25, 41, kGround}}},
        {"wide line",
         [](PictureBox& b) {
             b.SetDrawWidth(3);
             b.Line(150, 450, 750, 450, kInk);
         },
         {{30, 29, kInk}, {30, 30, kInk}, {30, 31, kInk}, {30, 27, kGround}, {30, 33, kGround}}},
    };
    for (const auto& c : cases) {
        PictureBox box = makeBox();
        c.draw(box);
        for (const double ratio : {1.0, 2.0}) {
            const QImage image = render(box, ratio);
            for (const Probe& p : c.probes) {
                const int r = static_cast<int>(ratio);
                EXPECT_EQ(at(image, p.x * r, p.y * r), p.expected)
                    << c.what << " at (" << p.x << ", " << p.y << ") ratio " << ratio;
            }
        }
    }
}

// Where Print puts ink, horizontally, in 1x pixels: the first and the last column with any.
std::pair<int, int> inkColumns(const QImage& image) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (at(image, x, y) != kGround) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

TEST(Drawing, TextWidthMeasuresWhatPrintDraws) {
    const struct {
        const char* text;
        double size;
        bool bold;
    } cases[] = {{"F I R E", 8.25, true},
                 {"GAME OVER", 12, true},
                 {"Hit, 48 pts", 8, true},
                 {"Score: 12,340 points", 8.25, false}};
    for (const auto& c : cases) {
        PictureBox box = makeBox(200);
        box.SetFontSize(c.size);
        box.SetFontBold(c.bold);
        box.SetCurrentX(15);
        box.SetCurrentY(15);
        const QString text = QString::fromLatin1(c.text);
        const double width = box.TextWidth(text) / 15.0;
        ASSERT_LT(width, 198) << c.text << " does not fit the test box";
        box.Print(text);
        const auto [first, last] = inkColumns(render(box, 1));
        // Glyphs keep a little side bearing inside their advance; a pixel or two each side.
        EXPECT_GE(first, 1) << c.text;
        EXPECT_LE(first, 3) << c.text;
        EXPECT_NEAR(last + 1, 1 + width, 2.0) << c.text;
    }
}

} // namespace
