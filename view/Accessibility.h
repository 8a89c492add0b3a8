#pragma once

#include <QAccessible>
#include <QString>
#include <vector>

// What a screen reader is told about the window's elements: what each one is (the fire
// button, the play field, a label) and what it is called. The game paints the faces of its
// picture boxes, so they get names of their own; a label is spoken by what its figure means
// and then its caption, so that a change is heard as "Lives: 4", not a bare "4". Elements not
// listed stay out of the reader's way: the lamps repeat the stage message, the pictures are
// decoration.
namespace Accessibility {

struct Presentation {
    QString element;
    QAccessible::Role role;
    // A picture box's name; what a label's figure means, or empty for a label whose caption
    // says it all (the stage message).
    QString name;
    QString description;
    // A line that renames the picture box printing it: while it shows, the box is named by
    // `spokenHeadline` and the lines printed after it, such as the score at the end of a game.
    QString headline = {};
    QString spokenHeadline = {};
};

// The spoken elements in reading order: top band, play field, control panel.
const std::vector<Presentation>& spokenElements();
const Presentation* presentationOf(const QString& element);

// Lets Qt build the window's accessible interfaces from ours. Harmless to repeat.
void install();

} // namespace Accessibility
