#include "view/PictureBoxWidget.h"

#include "view/ElementPainter.h"
#include "view/PictureBox.h"
#include "view/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

PictureBoxWidget::PictureBoxWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setObjectName(box.Name());
    setAccessibleName(box.Name());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    box_.onChange = [this](const QRectF&) { sync(); };
    box_.onSetFocus = [this] { setFocus(Qt::OtherFocusReason); };
    setGeometry(twips::toPixels(box_.Bounds()));
    setVisible(box_.Visible());
}

PictureBoxWidget::~PictureBoxWidget() {
    box_.onChange = nullptr;
    box_.onSetFocus = nullptr;
}

void PictureBoxWidget::sync() {
    const QRect place = twips::toPixels(box_.Bounds());
    if (place != geometry())
        setGeometry(place);
    if (box_.Visible() != isVisible())
        setVisible(box_.Visible());
    update();
}

void PictureBoxWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ElementPainter::paint(painter, box_);
}

// A click is a press and a release of the left button over the box.
void PictureBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        box_.Click)
        box_.Click();
}

void PictureBoxWidget::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() || !box_.KeyPress) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Characters arrive one at a time as 16-bit codes, Enter and Backspace included.
    for (const QChar c : text) {
        auto code = static_cast<std::int16_t>(c.unicode());
        box_.KeyPress(code);
    }
}
