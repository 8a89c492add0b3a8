#include "window/FormAccessible.h"

#include "forms/Element.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "window/FormWindow.h"
#include "window/LabelAccessible.h"
#include "window/PictureBoxAccessible.h"
#include "window/PictureBoxWidget.h"

#include <QAccessible>
#include <QMetaObject>
#include <algorithm>

namespace {

QAccessibleInterface* buildInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("FormWindow")) {
        if (auto* window = qobject_cast<FormWindow*>(object))
            return new FormAccessible(window);
    } else if (className == QLatin1String("PictureBoxWidget")) {
        auto* widget = qobject_cast<PictureBoxWidget*>(object);
        auto* window = widget ? qobject_cast<FormWindow*>(widget->parentWidget()) : nullptr;
        if (const auto* presentation =
                window ? window->form().PresentationOf(widget->objectName()) : nullptr)
            return new PictureBoxAccessible(widget, *presentation);
    }
    return nullptr;
}

} // namespace

void FormAccessible::install() {
    QAccessible::installFactory(buildInterface);
}

FormAccessible::FormAccessible(FormWindow* window)
    : QAccessibleWidget(window, QAccessible::Window), window_(window) {
    for (Element* element : window->form().WindowlessElements()) {
        auto* label = dynamic_cast<Label*>(element);
        const auto* presentation = window->form().PresentationOf(element->Name());
        if (!label || !presentation)
            continue;
        auto* spoken = new LabelAccessible(*label, *presentation, window);
        labels_.push_back({label, QAccessible::registerAccessibleInterface(spoken),
                           spoken->text(QAccessible::Name)});
        QObject::connect(label, &Label::captionChanged, window,
                         [this, index = labels_.size() - 1] { announceLater(index); });
    }
}

// A screen reader follows the score, the lives and the messages as they change, each change
// once: the game may write a caption twice in one tick (the statistics are written without
// their rate, then with it), so what a label says is told when the tick yields, if it differs
// from what was told last.
void FormAccessible::announceLater(std::size_t index) {
    if (labels_[index].pending)
        return;
    labels_[index].pending = true;
    QMetaObject::invokeMethod(
        window_,
        [this, index] {
            SpokenLabel& spoken = labels_[index];
            spoken.pending = false;
            QAccessibleInterface* label = QAccessible::accessibleInterface(spoken.id);
            if (!label || label->text(QAccessible::Name) == spoken.told)
                return;
            spoken.told = label->text(QAccessible::Name);
            QAccessibleEvent event(label, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        },
        Qt::QueuedConnection);
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
