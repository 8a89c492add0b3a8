#pragma once

#include <QWidget>
#include <vector>

class Element;
class Form;
class PictureBoxWidget;

// The top-level window that shows a Form: a fixed client area, the labels and images
// painted back to front in the stacking order, the picture boxes as child windows above
// them. Show() raises the form's Load event first, as loading a window does; the window
// becoming active raises Activate.
class FormWindow : public QWidget {
    Q_OBJECT
public:
    explicit FormWindow(Form& form, QWidget* parent = nullptr);

    void Show();
    PictureBoxWidget* pictureBoxWidget(const QString& name) const;
    Form& form() const { return form_; }

signals:
    // After every paint of the window, for whoever measures frames.
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    Form& form_;
    const std::vector<Element*> windowless_; // front to back
};
