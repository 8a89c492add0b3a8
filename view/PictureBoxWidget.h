#pragma once

#include <QWidget>

class PictureBox;

// Shows one PictureBox as a child window of the form: paints its face and drawing, keeps its
// place and visibility in step with the element, and hands clicks and typed characters to
// the element's Click and KeyPress events.
class PictureBoxWidget : public QWidget {
    Q_OBJECT
public:
    PictureBoxWidget(PictureBox& box, QWidget* parent);
    ~PictureBoxWidget() override;

    PictureBox& box() { return box_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void sync();

    PictureBox& box_;
};
