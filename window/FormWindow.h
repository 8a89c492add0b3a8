#pragma once

#include <QWidget>
#include <functional>
#include <vector>

class Element;
class VarnothForm;
class PictureBoxWidget;

// The top-level window that shows a VarnothForm: a fixed client area, the labels and images
// painted back to front in the stacking order, the picture boxes as child windows above
// them. Show() raises the form's Load event first, as loading a window does; the window
// becoming active raises Activate.
class FormWindow : public QWidget {
    Q_OBJECT
public:
    explicit FormWindow(VarnothForm& form, QWidget* parent = nullptr);
    ~FormWindow() override;

    void Show();
    PictureBoxWidget* pictureBoxWidget(const QString& name) const;
    VarnothForm& form() const { return form_; }

    // Called after every paint of the window, for whoever measures frames.
    std::function<void()> onPainted;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    VarnothForm& form_;
    const std::vector<Element*> windowless_; // front to back
    std::vector<PictureBoxWidget*> boxes_;
};
