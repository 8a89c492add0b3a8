#include "window/PictureBoxAccessible.h"

#include "window/PictureBoxWidget.h"

#include <QMetaObject>

PictureBoxAccessible::PictureBoxAccessible(PictureBoxWidget* widget,
                                           const Accessibility::Presentation& presentation)
    : QAccessibleWidget(widget, presentation.role, presentation.name), presentation_(presentation) {
}

QString PictureBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Description)
        return presentation_.description;
    return QAccessibleWidget::text(t);
}

// Press comes first: it is the default action a screen reader offers.
QStringList PictureBoxAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (pressable())
        names.prepend(pressAction());
    return names;
}

void PictureBoxAccessible::doAction(const QString& actionName) {
    if (!pressable() || actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // Later, from the event loop, as a mouse click arrives: after a game the click asks a
    // question in a modal dialog, and the screen reader that pressed must get its answer
    // before that dialog opens, not after it closes.
    QMetaObject::invokeMethod(static_cast<PictureBoxWidget*>(widget()), &PictureBoxWidget::click,
                              Qt::QueuedConnection);
}

QStringList PictureBoxAccessible::keyBindingsForAction(const QString& actionName) const {
    if (pressable() && actionName == pressAction())
        return {QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}
