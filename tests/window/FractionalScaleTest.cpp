// What depends on the ratio of device pixels to logical pixels, painted straight onto an image
// of that ratio: the reference pictures paint through the window at the offscreen screen's
// ratio of one and enlarge that. At 1.5 the narrow face, which has no strike of that size,
// gives way to a smooth face as tall as the scale asks, and a framed lamp keeps an even frame
// with nothing of its face outside it; at 2 a picture keeps its size.
#include "forms/Picture.h"
#include "forms/Twips.h"
#include "game/VarnothForm.h"
#include "game/frmVarnoth.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "window/ElementPainter.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <gtest/gtest.h>
#include <set>

namespace {

// The window's pixels in `area` (logical pixels) with only `element` painted, at 1.5 device
// pixels per logical pixel.
template <typename Element> QImage render(const QRect& area, const Element& element) {
    QImage image(area.size() * 1.5, QImage::Format_RGB32);
    image.setDevicePixelRatio(1.5);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    ElementPainter::paint(painter, element);
    return image;
}

// The device pixels of `image` that hold anything but `ground`.
QRect inkBox(const QImage& image, QRgb ground) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != ground)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

std::set<QRgb> coloursOf(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

TEST(FractionalScale, TextStaysWholeAndLampsKeepTheirFrames) {
    VarnothForm form(testArtwork());
    ScriptedPlatform platform;
    MemoryHighScores store;
    frmVarnoth game(form, platform, store);
    game.UpdateFrame();
    form.lblScore.SetCaption(QStringLiteral("99,999"));
    // The score's digits are 10 pixels tall at 1x; the fire button's struck letters 9.
    const QRect score = twips::toPixels(form.lblScore.Bounds());
    const QRgb scoreBack = toQColor(form.lblScore.BackColor()).rgb();
    EXPECT_GE(inkBox(render(score, form.lblScore), scoreBack).height(), 14);
    const QRect fire(QPoint(), twips::toPixels(form.picFire.Bounds()).size());
    const QRgb fireBack = toQColor(form.picFire.BackColor()).rgb();
    EXPECT_GE(inkBox(render(fire, form.picFire), fireBack).height(), 12);

    const Label& lamp = form.lblExtraIndicator[0];
    const QImage seen = render(twips::toPixels(lamp.Bounds()).adjusted(-2, -2, 2, 2), lamp);
    const QRgb frame = toQColor(SystemColour::WindowText).rgb();
    const QRect ink = inkBox(seen, qRgb(255, 0, 255));
    EXPECT_EQ(ink, QRect(3, 3, 14, 14)); // 9 logical pixels from 3 device pixels in
    EXPECT_EQ(coloursOf(seen.copy(ink)), (std::set<QRgb>{frame, toQColor(lamp.BackColor()).rgb()}));
    for (const QRect edge : {QRect(ink.topLeft(), QSize(ink.width(), 1)),
                             QRect(ink.bottomLeft(), QSize(ink.width(), 1)),
                             QRect(ink.topLeft(), QSize(1, ink.height())),
                             QRect(ink.topRight(), QSize(1, ink.height()))})
        EXPECT_EQ(coloursOf(seen.copy(edge)), std::set<QRgb>{frame}) << edge.x() << "," << edge.y();
}

// A picture drawn where a logical pixel is two device pixels shows at its own size from its
// very first paint, as from every later one: the rendering it keeps is made for that ratio.
TEST(FractionalScale, APictureShowsAtItsSizeFromItsFirstPaint) {
    const auto picture = Picture::load(QStringLiteral(":/pictures/explosion.svg"));
    const QSize size = picture->pixelSize();
    const auto paint = [&] {
        QImage image(size * 2, QImage::Format_RGB32);
        image.setDevicePixelRatio(2);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        picture->paint(painter, QRectF(QPointF(), QSizeF(size)));
        return image;
    };
    const QImage first = paint();
    EXPECT_EQ(first, paint());
}

} // namespace
