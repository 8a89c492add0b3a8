#include "forms/Element.h"

// Single precision, as the game's positions are: a twip value that a float cannot hold
// exactly lands where the game's own arithmetic would have put it.
static double asSingle(double twips) {
    return static_cast<float>(twips);
}

void Element::SetLeft(double left) {
    const QRectF previous = bounds_;
    bounds_.moveLeft(asSingle(left));
    emit changed(previous);
}

void Element::SetTop(double top) {
    const QRectF previous = bounds_;
    bounds_.moveTop(asSingle(top));
    emit changed(previous);
}
