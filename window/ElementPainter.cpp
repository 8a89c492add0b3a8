#include "window/ElementPainter.h"

#include "forms/Font.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/Twips.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

double devicePixelRatio(const QPainter& painter) {
    return painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
}

// A twip position as a logical coordinate on the device pixel grid.
class Snap {
public:
    explicit Snap(const QPainter& painter) : ratio_(devicePixelRatio(painter)) {}
    double operator()(double t) const { return std::round(twips::toPixelsF(t) * ratio_) / ratio_; }
    double devicePixel() const { return 1.0 / ratio_; }

private:
    double ratio_;
};

// A face on the pixel grid keeps whole pixels where a logical pixel is a whole number of
// device pixels; elsewhere a smooth face stands in for it.
bool keepsWholePixels(const QPainter& painter, const Font& font) {
    const double ratio = devicePixelRatio(painter);
    return font.onPixelGrid() && ratio == std::round(ratio);
}

// Text in a face on the pixel grid, within area (whole logical pixels): drawn as at one device
// pixel to the logical pixel, then each pixel enlarged to a square of device pixels, so every
// pixel of ink has exactly the text's colour and 2x shows 1x doubled. Bold is struck twice,
// one pixel apart, as the original's screen faces were made bold.
void drawPixelText(QPainter& painter, const QRect& area, int flags, const QString& text,
                   const Font& font, const QColor& colour) {
    QImage ink(area.size(), QImage::Format_ARGB32_Premultiplied);
    ink.fill(Qt::transparent);
    QPainter inking(&ink);
    inking.setFont(font.toQFont());
    inking.setPen(colour);
    inking.drawText(ink.rect(), flags, text);
    if (font.Bold)
        inking.drawText(ink.rect().translated(1, 0), flags, text);
    inking.end();
    // Enlarged by taking the nearest pixel, never by blending neighbours.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(area, ink);
}

void paintOp(QPainter& painter, const Snap& snap, const DrawOp& op) {
    const QColor colour = toQColor(op.color);
    const double x1 = snap(op.x1), y1 = snap(op.y1), x2 = snap(op.x2), y2 = snap(op.y2);
    switch (op.kind) {
    case DrawOp::Kind::Line:
        painter.setPen(QPen(colour, std::max(1, op.width), Qt::SolidLine,
                            op.width > 1 ? Qt::RoundCap : Qt::SquareCap, Qt::RoundJoin));
        painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
        break;
    case DrawOp::Kind::Box:
        painter.setPen(
            QPen(colour, std::max(1, op.width), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
        break;
    case DrawOp::Kind::Fill: {
        // A filled box covers both corner pixels, as the outline drawn over it does.
        const QRectF area = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
        painter.fillRect(area.adjusted(0, 0, snap.devicePixel(), snap.devicePixel()), colour);
        break;
    }
    case DrawOp::Kind::Text: {
        if (keepsWholePixels(painter, op.font)) {
            const QPoint at(static_cast<int>(std::lround(twips::toPixelsF(op.x1))),
                            static_cast<int>(std::lround(twips::toPixelsF(op.y1))));
            const QFontMetrics metrics(op.font.toQFont());
            drawPixelText(painter,
                          QRect(at, QSize(metrics.horizontalAdvance(op.text), metrics.height())),
                          Qt::AlignLeft | Qt::AlignTop, op.text, op.font, colour);
            break;
        }
        const QFont font = op.font.onPixelGrid() ? op.font.smoothQFont() : op.font.toQFont();
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(QPointF(x1, y1 + QFontMetricsF(font).ascent()), op.text);
        break;
    }
    }
}

// Snapping to device pixels moves an edge by less than a logical pixel; one more covers the
// rasteriser's rounding.
constexpr double kReachMargin = 2;

} // namespace

QRect ElementPainter::reach(const DrawOp& op) {
    const QPointF from(twips::toPixelsF(op.x1), twips::toPixelsF(op.y1));
    QRectF area;
    if (op.kind == DrawOp::Kind::Text) {
        const QFontMetricsF metrics(op.font.toQFont());
        // The ink may stand out of the advance box (a bold glyph's overhang), and the box
        // may hold more than the ink: the union covers both.
        area = metrics.boundingRect(op.text).translated(from.x(), from.y() + metrics.ascent()) |
               QRectF(from, QSizeF(metrics.horizontalAdvance(op.text), metrics.height()));
    } else {
        const QPointF to(twips::toPixelsF(op.x2), twips::toPixelsF(op.y2));
        const double halfPen = std::max(1, op.width) / 2.0;
        area = QRectF(from, to).normalized().adjusted(-halfPen, -halfPen, halfPen, halfPen);
    }
    return area.adjusted(-kReachMargin, -kReachMargin, kReachMargin, kReachMargin).toAlignedRect();
}

void ElementPainter::paint(QPainter& painter, const Label& label) {
    const QRect area = twips::toPixels(label.Bounds());
    // The frame is what of the outer rectangle the inner one leaves: filled the same way,
    // the two share their device pixels' edges at any scale, so no pixel of the face is
    // left outside the frame, nor one of the frame inside it.
    const QRect inside = label.FlatFrame() ? area.adjusted(1, 1, -1, -1) : area;
    if (label.FlatFrame())
        painter.fillRect(area, toQColor(SystemColour::WindowText));
    painter.fillRect(inside, toQColor(label.BackColor()));
    if (label.Caption().isEmpty())
        return;
    // A caption too long for one line wraps at its words, and only whole lines show: the
    // statistics label shows "100 of 100" and hides "(100%)" below it, as the game did.
    const Font& font = label.Font();
    const int lineSpacing = QFontMetrics(font.toQFont()).lineSpacing();
    const int wholeLines = std::max(1, inside.height() / lineSpacing);
    painter.save();
    painter.setClipRect(
        inside.adjusted(0, 0, 0, std::min(0, wholeLines * lineSpacing - inside.height())));
    const int align =
        (label.Align() == Label::Alignment::Center ? Qt::AlignHCenter : Qt::AlignLeft) |
        Qt::AlignTop | Qt::TextWordWrap;
    if (keepsWholePixels(painter, font)) {
        drawPixelText(painter, inside, align, label.Caption(), font, toQColor(label.ForeColor()));
    } else {
        painter.setFont(font.onPixelGrid() ? font.smoothQFont() : font.toQFont());
        painter.setPen(toQColor(label.ForeColor()));
        painter.drawText(inside, align, label.Caption());
    }
    painter.restore();
}

void ElementPainter::paint(QPainter& painter, const Image& image) {
    if (!image.Picture())
        return;
    const QRect area = twips::toPixels(image.Bounds());
    const QRectF target =
        image.Stretch() ? QRectF(area) : QRectF(area.topLeft(), image.Picture()->pixelSize());
    image.Picture()->paint(painter, target);
}

void ElementPainter::paint(QPainter& painter, const PictureBox& box) {
    const QRect face(QPoint(0, 0), twips::toPixels(box.Bounds()).size());
    painter.fillRect(face, toQColor(box.BackColor()));
    if (box.Picture())
        box.Picture()->paint(painter, QRectF(QPointF(0, 0), box.Picture()->pixelSize()));
    painter.save();
    painter.setClipRect(face);
    const Snap snap(painter);
    for (const DrawOp& op : box.Drawing())
        paintOp(painter, snap, op);
    painter.restore();
}
