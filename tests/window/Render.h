#pragma once

#include "window/ElementPainter.h"

#include <QImage>
#include <QPainter>
#include <QRect>

// The window's pixels in `area` (logical pixels) with only `element` painted, at `scale`
// device pixels per logical pixel.
template <typename Element> QImage Render(const QRect& area, qreal scale, const Element& element) {
    QImage image(area.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    ElementPainter::paint(painter, element);
    return image;
}

// The device pixels of `image` that hold anything but `ground`.
inline QRect Ink(const QImage& image, QRgb ground) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != ground)
                ink |= QRect(x, y, 1, 1);
    return ink;
}
