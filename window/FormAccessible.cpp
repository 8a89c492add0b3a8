#include "window/FormAccessible.h"

#include "forms/Element.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "window/FormWindow.h"
#include "window/LabelAccessible.h"
#include "window/PictureBoxWidget.h"

#include <algorithm>

FormAccessible::FormAccessible(FormWindow* window)
    : QAccessibleWidget(window, QAccessible::Window), window_(window) {
    for (Element* element : window->form().WindowlessElements()) {
        auto* label = dynamic_cast<Label*>(element);
        const auto* presentation = window->form().PresentationOf(element->Name());
        if (!label || !presentation)
            continue;
        const QAccessible::Id id = QAccessible::registerAccessibleInterface(
            new LabelAccessible(*label, presentation->description, window));
        labels_.push_back({label, id});
        // A screen reader follows the score, the lives and the messages as they change.
        QObject::connect(label, &Label::captionChanged, window, [id] {
            if (QAccessibleInterface* spoken = QAccessible::accessibleInterface(id)) {
                QAccessibleEvent event(spoken, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&event);
            }
        });
    }
}

FormAccessible::~FormAccessible() {
    for (const SpokenLabel& spoken : labels_) {
        QObject::disconnect(spoken.label, &Label::captionChanged, window_, nullptr);
        QAccessible::deleteAccessibleInterface(spoken.id);
    }
}

// Looked up on every call: Qt may ask for this interface while the window is still being
// built, before its picture boxes exist.
std::vector<QAccessibleInterface*> FormAccessible::children() const {
    std::vector<QAccessibleInterface*> found;
    for (const Accessibility::Presentation& presentation : window_->form().SpokenElements()) {
        QAccessibleInterface* child = nullptr;
        if (PictureBoxWidget* box = window_->pictureBoxWidget(presentation.element)) {
            child = QAccessible::queryAccessibleInterface(box);
        } else {
            const auto spoken =
                std::find_if(labels_.begin(), labels_.end(), [&](const SpokenLabel& s) {
                    return s.label->Name() == presentation.element;
                });
            if (spoken != labels_.end())
                child = QAccessible::accessibleInterface(spoken->id);
        }
        if (child)
            found.push_back(child);
    }
    return found;
}

int FormAccessible::childCount() const {
    return static_cast<int>(children().size());
}

QAccessibleInterface* FormAccessible::child(int index) const {
    const auto all = children();
    return index >= 0 && index < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(index)]
                                                              : nullptr;
}

int FormAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto all = children();
    const auto it = std::find(all.begin(), all.end(), child);
    return it == all.end() ? -1 : static_cast<int>(it - all.begin());
}
