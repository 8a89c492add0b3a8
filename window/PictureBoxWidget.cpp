#include "window/PictureBoxWidget.h"

#include "forms/PictureBox.h"
#include "forms/Twips.h"
#include "window/ElementPainter.h"
#include "window/PictureBoxAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <cstddef>
#include <utility>

PictureBoxWidget::PictureBoxWidget(PictureBox& box, QWidget* parent)
    : QWidget(parent), box_(box), backColor_(box.BackColor()) {
    setObjectName(box.Name());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&box_, &Element::changed, this, &PictureBoxWidget::sync);
    connect(&box_, &PictureBox::focusRequested, this, [this] { setFocus(Qt::OtherFocusReason); });
    setGeometry(twips::toPixels(box_.Bounds()));
    setVisible(box_.Visible());
    for (const DrawOp& op : box_.Drawing())
        shown_.push_back({op, ElementPainter::reach(op)});
}

void PictureBoxWidget::sync() {
    const QRect place = twips::toPixels(box_.Bounds());
    if (place != geometry())
        setGeometry(place);
    if (box_.Visible() != isVisible())
        setVisible(box_.Visible());
    if (box_.BackColor() != backColor_) {
        backColor_ = box_.BackColor();
        update();
    }
    // A Cls and each thing drawn after it are reported one by one; comparing is left until the
    // tick has drawn it all and yields to the event loop.
    if (!settlePending_) {
        settlePending_ = true;
        QMetaObject::invokeMethod(this, &PictureBoxWidget::settle, Qt::QueuedConnection);
    }
}

// Things are matched by their place in the drawing: where all that covers a pixel is the same
// as before, the pixel is too.
void PictureBoxWidget::settle() {
    settlePending_ = false;
    const std::vector<DrawOp>& drawing = box_.Drawing();
    QRegion changed;
    std::vector<Shown> now;
    now.reserve(drawing.size());
    for (std::size_t i = 0; i < drawing.size(); ++i) {
        if (i < shown_.size() && shown_[i].op == drawing[i]) {
            now.push_back(std::move(shown_[i]));
            continue;
        }
        now.push_back({drawing[i], ElementPainter::reach(drawing[i])});
        changed += now.back().reach;
        if (i < shown_.size())
            changed += shown_[i].reach;
    }
    for (std::size_t i = drawing.size(); i < shown_.size(); ++i)
        changed += shown_[i].reach;
    shown_ = std::move(now);
    // At once rather than later: a repaint asked for while the loop hands out its queued calls
    // would wait for its next pass, and the game yields only once a tick.
    if (!changed.isEmpty())
        repaint(changed);
    // What the box shows may rename it for a screen reader, as the end of a game does.
    if (!changed.isEmpty() && QAccessible::isActive()) {
        if (auto* spoken =
                dynamic_cast<PictureBoxAccessible*>(QAccessible::queryAccessibleInterface(this)))
            spoken->announceRename();
    }
}

void PictureBoxWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ElementPainter::paint(painter, box_);
}

// A click is a press and a release of the left button over the box.
void PictureBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
}

void PictureBoxWidget::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() || !box_.KeyPress.Handled()) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Characters arrive one at a time as 16-bit codes, Enter and Backspace included.
    for (const QChar c : text) {
        auto code = static_cast<std::int16_t>(c.unicode());
        box_.KeyPress.Raise(code);
    }
}
