#include "window/Accessibility.h"

#include "forms/Form.h"
#include "window/FormAccessible.h"
#include "window/FormWindow.h"
#include "window/PictureBoxAccessible.h"
#include "window/PictureBoxWidget.h"

#include <QAccessible>

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

namespace Accessibility {

void install() {
    QAccessible::installFactory(buildInterface);
}

} // namespace Accessibility
