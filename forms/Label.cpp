#include "forms/Label.h"

// A repaint is asked for only when something really changes: the stage and statistics
// labels are written on every crossing, mostly with what they already show.
void Label::SetCaption(const QString& caption) {
    if (change(caption_, caption))
        emit captionChanged();
}
