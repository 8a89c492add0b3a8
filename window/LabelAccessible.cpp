#include "window/LabelAccessible.h"

#include "forms/Label.h"
#include "forms/Twips.h"

#include <QWidget>
#include <QWindow>

QWindow* LabelAccessible::window() const {
    return window_->windowHandle();
}

QAccessibleInterface* LabelAccessible::parent() const {
    return QAccessible::queryAccessibleInterface(window_);
}

QString LabelAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return presentation_.name.isEmpty()
                   ? label_.Caption()
                   : presentation_.name + QStringLiteral(": ") + label_.Caption();
    case QAccessible::Description:
        return presentation_.description;
    default:
        return {};
    }
}

// In screen pixels, as every accessible rectangle is.
QRect LabelAccessible::rect() const {
    const QRect inWindow = twips::toPixels(label_.Bounds());
    return {window_->mapToGlobal(inWindow.topLeft()), inWindow.size()};
}

QAccessible::State LabelAccessible::state() const {
    QAccessible::State state;
    state.invisible = !label_.Visible();
    return state;
}
