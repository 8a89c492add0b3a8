#pragma once

#include <QAccessible>
#include <QString>

namespace Accessibility {

// What a screen reader is told about one element of a form: what it is (a button, a canvas,
// a label) and what it is called. A form lists the elements it wants spoken; the window
// layer builds the accessible interfaces from that list.
struct Presentation {
    QString element;
    QAccessible::Role role;
    // Empty for a label, whose name is its caption.
    QString name;
    QString description;
};

} // namespace Accessibility
