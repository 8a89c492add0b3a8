#include "forms/PictureBox.h"

#include "forms/Twips.h"

#include <QFontMetricsF>
#include <algorithm>

PictureBox::PictureBox(QString name, QRectF bounds, Look look, bool visible)
    : Element(std::move(name), bounds, visible), look_(std::move(look)) {
    // The play field is drawn anew 40 times a second; keeping the list's storage between
    // frames spares an allocation per frame.
    drawing_.reserve(64);
}

void PictureBox::Cls() {
    drawing_.clear();
    currentX_ = 0;
    currentY_ = 0;
    report();
}

void PictureBox::draw(DrawOp op) {
    drawing_.push_back(std::move(op));
    report();
}

void PictureBox::Line(float x1, float y1, float x2, float y2, Colour colour) {
    // The box keeps only what its pixels could show: a line wholly beyond its edges leaves
    // nothing, and a beam asked to run far off the field would otherwise grow the drawing
    // without end.
    const auto pen = static_cast<float>(drawWidth_ * twips::kPerPixel);
    const bool beyond = std::max(x1, x2) < -pen || std::min(x1, x2) > Width() + pen ||
                        std::max(y1, y2) < -pen || std::min(y1, y2) > Height() + pen;
    if (!beyond)
        draw({DrawOp::Kind::Line, x1, y1, x2, y2, colour, drawWidth_, {}, {}});
    currentX_ = x2;
    currentY_ = y2;
}

void PictureBox::LineBox(float x1, float y1, float x2, float y2, Colour colour) {
    draw({DrawOp::Kind::Box, x1, y1, x2, y2, colour, drawWidth_, {}, {}});
    currentX_ = x2;
    currentY_ = y2;
}

void PictureBox::LineFilled(float x1, float y1, float x2, float y2, Colour colour) {
    draw({DrawOp::Kind::Fill, x1, y1, x2, y2, colour, drawWidth_, {}, {}});
    currentX_ = x2;
    currentY_ = y2;
}

void PictureBox::Print(const QString& text) {
    draw({DrawOp::Kind::Text, currentX_, currentY_, currentX_, currentY_, look_.ForeColor,
          drawWidth_, text, look_.Font});
    // Like a line printer: the next Print starts at the left edge of the next line.
    currentX_ = 0;
    currentY_ += lineHeight();
}

float PictureBox::lineHeight() {
    if (lineHeight_ < 0 || measuredFont_ != look_.Font) {
        measuredFont_ = look_.Font;
        lineHeight_ =
            static_cast<float>(QFontMetricsF(look_.Font.toQFont()).height() * twips::kPerPixel);
    }
    return lineHeight_;
}

float PictureBox::TextWidth(const QString& text) const {
    return static_cast<float>(QFontMetricsF(look_.Font.toQFont()).horizontalAdvance(text) *
                              twips::kPerPixel);
}

void PictureBox::SetFocus() {
    emit focusRequested();
}
