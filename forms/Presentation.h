#pragma once

#include <QAccessible>
#include <QString>

namespace Accessibility {

// What a screen reader is told about one element of a form: what it is (a button, a canvas,
// a label) and what it is called. A form lists the elements it wants spoken; the window
// layer builds the accessible interfaces from that list. A label is spoken by what its figure
// means and then its caption, so that a change is heard as "Lives: 4", not a bare "4".
struct Presentation {
    QString element;
    QAccessible::Role role;
    // A picture box's name; what a label's figure means, or empty for a label whose caption
    // says it all.
    QString name;
    QString description;
    // A line that renames the picture box printing it: while it shows, the box is named by
    // `spokenHeadline` and the lines printed after it, such as the score at the end of a game.
    QString headline = {};
    QString spokenHeadline = {};
};

} // namespace Accessibility
