#pragma once

#include "forms/Presentation.h"

#include <QAccessibleInterface>
#include <QString>

class Label;
class QWidget;

// One windowless label as a screen reader sees it: static text named by its meaning and its
// caption, at the label's place in the window that paints it. Made and owned by
// FormAccessible.
class LabelAccessible : public QAccessibleInterface {
public:
    LabelAccessible(const Label& label, const Accessibility::Presentation& presentation,
                    QWidget* window)
        : label_(label), presentation_(presentation), window_(window) {}

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;

    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override;

private:
    const Label& label_;
    const Accessibility::Presentation& presentation_;
    QWidget* window_;
};
