#include "window/FormWindow.h"

#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/Twips.h"
#include "window/ElementPainter.h"
#include "window/FormAccessible.h"
#include "window/PictureBoxWidget.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

namespace {

QIcon iconOf(const Picture& picture) {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        picture.paint(painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

FormWindow::FormWindow(Form& form, QWidget* parent)
    : QWidget(parent), form_(form), windowless_(form.WindowlessElements()) {
    FormAccessible::install();
    setWindowTitle(form_.Caption);
    if (form_.Icon)
        setWindowIcon(iconOf(*form_.Icon));
    // A fixed dialog frame: title and close box, nothing to minimise, maximise or resize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twips::toPixels(form_.ClientSize.width()),
                 twips::toPixels(form_.ClientSize.height()));
    setAttribute(Qt::WA_OpaquePaintEvent);

    for (Element* element : windowless_) {
        connect(element, &Element::changed, this, [this, element](const QRectF& previousArea) {
            // One pixel more on each side covers the rounding of twips to pixels.
            const QRect before = twips::toPixels(previousArea).adjusted(-1, -1, 1, 1);
            const QRect now = twips::toPixels(element->Bounds()).adjusted(-1, -1, 1, 1);
            update(before == now ? QRegion(now) : QRegion(before).united(now));
        });
    }
    // Created back to front, so each box lies above the ones made before it.
    auto boxes = form_.PictureBoxes();
    std::vector<PictureBoxWidget*> widgets;
    for (auto it = boxes.rbegin(); it != boxes.rend(); ++it)
        widgets.push_back(new PictureBoxWidget(**it, this));
    std::sort(widgets.begin(), widgets.end(), [](PictureBoxWidget* a, PictureBoxWidget* b) {
        return a->box().TabIndex() < b->box().TabIndex();
    });
    for (std::size_t i = 0; i + 1 < widgets.size(); ++i)
        setTabOrder(widgets[i], widgets[i + 1]);
}

void FormWindow::Show() {
    form_.Load.Raise();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

PictureBoxWidget* FormWindow::pictureBoxWidget(const QString& name) const {
    return findChild<PictureBoxWidget*>(name, Qt::FindDirectChildrenOnly);
}

void FormWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), toQColor(form_.BackColor));
    for (auto it = windowless_.rbegin(); it != windowless_.rend(); ++it) {
        const Element& element = **it;
        if (!element.Visible() || !event->region().intersects(twips::toPixels(element.Bounds())))
            continue;
        if (const auto* label = dynamic_cast<const Label*>(&element))
            ElementPainter::paint(painter, *label);
        else if (const auto* image = dynamic_cast<const Image*>(&element))
            ElementPainter::paint(painter, *image);
    }
    emit painted();
}

bool FormWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        form_.Activate.Raise();
    return QWidget::event(event);
}
