#pragma once

#include <QAccessibleWidget>
#include <QString>
#include <cstddef>
#include <vector>

class FormWindow;
class Label;

// The window as a screen reader sees it: the spoken picture boxes and labels as its
// children, in reading order. The labels have no window of their own, so their interfaces
// are made here and live as long as this one; a caption that changes is announced once.
// Built by Qt, once install() has run, when an assistive tool first asks.
class FormAccessible : public QAccessibleWidget {
public:
    // Lets Qt build the window's accessible interfaces, its picture boxes' included, from
    // ours. Harmless to repeat.
    static void install();

    explicit FormAccessible(FormWindow* window);
    ~FormAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    struct SpokenLabel {
        Label* label;
        QAccessible::Id id;
        QString told; // the name last announced
        bool pending = false;
    };

    std::vector<QAccessibleInterface*> children() const;
    void announceLater(std::size_t index);

    FormWindow* window_;
    std::vector<SpokenLabel> labels_;
};
