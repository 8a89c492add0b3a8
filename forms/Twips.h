#pragma once

#include <QRect>
#include <QRectF>
#include <cmath>

// The game measures everything in twips; the screen in pixels. This is the one place where
// the two meet: 15 twips make one logical pixel, as on a 96 dpi screen.
namespace twips {

constexpr double kPerPixel = 15.0;

constexpr double toPixelsF(double t) {
    return t / kPerPixel;
}
inline int toPixels(double t) {
    return static_cast<int>(std::lround(t / kPerPixel));
}

// An element's rectangle in whole logical pixels: each edge is rounded on its own, so two
// elements that touch in twips still touch on screen.
inline QRect toPixels(const QRectF& r) {
    const int left = toPixels(r.left());
    const int top = toPixels(r.top());
    return {left, top, toPixels(r.right()) - left, toPixels(r.bottom()) - top};
}

} // namespace twips
