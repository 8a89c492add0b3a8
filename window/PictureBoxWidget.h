#pragma once

#include "forms/Colour.h"
#include "forms/PictureBox.h"

#include <QRect>
#include <QWidget>
#include <vector>

// Shows one PictureBox as a child window of the form: paints its face and drawing, keeps its
// place and visibility in step with the element, and hands clicks and typed characters to
// the element's Click and KeyPress events.
// The play field is cleared and drawn anew on every tick, yet most of what is drawn comes back
// the same in the same place: once the tick's drawing is done, only the places of the things
// that came, went or changed are repainted.
class PictureBoxWidget : public QWidget {
    Q_OBJECT
public:
    PictureBoxWidget(PictureBox& box, QWidget* parent);

    PictureBox& box() { return box_; }
    // The box's Click event, as the mouse and a screen reader's press raise it.
    void click() { box_.Click.Raise(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Shown {
        DrawOp op;
        QRect reach;
    };

    void sync();
    void settle();

    PictureBox& box_;
    Colour backColor_;
    // The drawing as the screen shows it, or will after the repaints already asked for.
    std::vector<Shown> shown_;
    bool settlePending_ = false;
};
