#pragma once

#include "forms/Presentation.h"

#include <QAccessibleWidget>

class PictureBoxWidget;

// A picture box as a screen reader sees it: the fire button is a push button whose press
// is a click; the play field and the explosion are named and described. Built by Qt through
// Accessibility::install().
class PictureBoxAccessible : public QAccessibleWidget {
public:
    PictureBoxAccessible(PictureBoxWidget* widget, const Accessibility::Presentation& presentation);

    QString text(QAccessible::Text t) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    bool pressable() const { return role() == QAccessible::Button; }

    const Accessibility::Presentation& presentation_;
};
