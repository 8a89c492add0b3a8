#include "forms/Label.h"

// A repaint is asked for only when something really changes: the stage and statistics
// labels are written on every crossing, mostly with what they already show.
void Label::SetCaption(const QString& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    report();
    emit captionChanged();
}

void Label::SetBackColor(Colour colour) {
    if (colour == look_.BackColor)
        return;
    look_.BackColor = colour;
    report();
}

void Label::SetForeColor(Colour colour) {
    if (colour == look_.ForeColor)
        return;
    look_.ForeColor = colour;
    report();
}
