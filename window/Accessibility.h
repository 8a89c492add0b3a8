#pragma once

#include <QAccessible>
#include <QString>
#include <vector>

// What a screen reader is told about the window's elements: what each one is (the fire
// button, the play field, a label) and what it is called. The game paints the faces of its
// picture boxes, so they get names of their own; a label is spoken by its caption, with a
// description that says which figure it shows. Elements not listed stay out of the
// reader's way: the lamps repeat the stage message, the pictures are decoration.
namespace Accessibility {

struct Presentation {
    QString element;
    QAccessible::Role role;
    // Empty for a label, whose name is its caption.
    QString name;
    QString description;
};

// The spoken elements in reading order: top band, play field, control panel.
const std::vector<Presentation>& spokenElements();
const Presentation* presentationOf(const QString& element);

// Lets Qt build the window's accessible interfaces from ours. Harmless to repeat.
void install();

} // namespace Accessibility
