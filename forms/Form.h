#pragma once

#include "forms/Colour.h"
#include "forms/Event.h"
#include "forms/Picture.h"
#include "forms/Presentation.h"

#include <QSizeF>
#include <QString>
#include <vector>

class Element;
class PictureBox;

// A window of the game's era as a set of elements: its caption, fixed client size, colour
// and icon, its own two events, and the lists a window needs to show it and a screen reader
// to speak it. A form knows nothing of how it is shown, so it runs headless as well.
class Form {
public:
    Form(QString caption, QSizeF clientSize, Colour backColor, PictureRef icon)
        : Caption(std::move(caption)), ClientSize(clientSize), BackColor(backColor),
          Icon(std::move(icon)) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const QString Caption;
    const QSizeF ClientSize;
    const Colour BackColor;
    const PictureRef Icon;

    Event Load;
    Event Activate;

    // Picture boxes, front to back; they always lie above every windowless element.
    virtual std::vector<PictureBox*> PictureBoxes() = 0;
    // Labels and images, front to back.
    virtual std::vector<Element*> WindowlessElements() = 0;
    // Every event of the form and its elements, for whatever must see each one run.
    virtual std::vector<Event*> Events() = 0;
    // The elements a screen reader speaks, in reading order; the others stay out of its way.
    virtual const std::vector<Accessibility::Presentation>& SpokenElements() const = 0;

    const Accessibility::Presentation* PresentationOf(const QString& element) const {
        for (const Accessibility::Presentation& presentation : SpokenElements()) {
            if (presentation.element == element)
                return &presentation;
        }
        return nullptr;
    }
};
