#pragma once

#include "forms/Presentation.h"

#include <QAccessibleWidget>
#include <QString>

class PictureBoxWidget;

// A picture box as a screen reader sees it: the fire button is a push button whose press
// is a click; the play field and the explosion are named and described, and the play field
// at the end of a game is named by its headline and the score. Built by Qt through
// FormAccessible::install().
class PictureBoxAccessible : public QAccessibleWidget {
public:
    PictureBoxAccessible(PictureBoxWidget* widget, const Accessibility::Presentation& presentation);

    QString text(QAccessible::Text t) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    // Tells a screen reader the box's new name, if what it shows has renamed it.
    void announceRename();

private:
    bool pressable() const { return role() == QAccessible::Button; }

    const Accessibility::Presentation& presentation_;
    QString told_; // the name last announced
};
