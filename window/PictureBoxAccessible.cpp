#include "window/PictureBoxAccessible.h"

#include "forms/PictureBox.h"
#include "window/PictureBoxWidget.h"

#include <QAccessible>
#include <QMetaObject>
#include <QStringList>

PictureBoxAccessible::PictureBoxAccessible(PictureBoxWidget* widget,
                                           const Accessibility::Presentation& presentation)
    : QAccessibleWidget(widget, presentation.role, presentation.name), presentation_(presentation),
      told_(text(QAccessible::Name)) {}

QString PictureBoxAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Description)
        return presentation_.description;
    if (t == QAccessible::Name && !presentation_.headline.isEmpty()) {
        // The headline and the lines after it, as they read on the box: "Game over. Score:
        // 1,234 points".
        QStringList lines;
        for (const DrawOp& op : static_cast<PictureBoxWidget*>(widget())->box().Drawing()) {
            if (op.kind != DrawOp::Kind::Text)
                continue;
            if (op.text == presentation_.headline)
                lines = {presentation_.spokenHeadline};
            else if (!lines.isEmpty())
                lines.append(op.text);
        }
        if (!lines.isEmpty())
            return lines.join(QStringLiteral(". "));
    }
    return QAccessibleWidget::text(t);
}

void PictureBoxAccessible::announceRename() {
    const QString name = text(QAccessible::Name);
    if (name == told_)
        return;
    told_ = name;
    QAccessibleEvent event(widget(), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
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
