#include "forms/Picture.h"

#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>
#include <cmath>
#include <stdexcept>

std::shared_ptr<const Picture> Picture::load(const QString& resourcePath) {
    auto renderer = std::make_unique<QSvgRenderer>(resourcePath);
    if (!renderer->isValid())
        throw std::runtime_error("cannot load the picture " + resourcePath.toStdString());
    return std::shared_ptr<const Picture>(new Picture(resourcePath, std::move(renderer)));
}

Picture::Picture(QString name, std::unique_ptr<QSvgRenderer> renderer)
    : name_(std::move(name)), size_(renderer->defaultSize()), renderer_(std::move(renderer)) {}

Picture::~Picture() = default;

QImage Picture::render(QSize devicePixels) const {
    QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer_->render(&painter, QRectF(QPointF(0, 0), QSizeF(devicePixels)));
    return image;
}

void Picture::paint(QPainter& painter, const QRectF& target) const {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize devicePixels(static_cast<int>(std::lround(target.width() * ratio)),
                             static_cast<int>(std::lround(target.height() * ratio)));
    if (devicePixels.isEmpty())
        return;
    // Rendering the vector art costs far more than drawing an image, and the game shows
    // the same few pictures every frame: keep the last rendering.
    if (cache_.size() != devicePixels)
        cache_ = render(devicePixels);
    cache_.setDevicePixelRatio(ratio);
    painter.drawImage(target.topLeft(), cache_);
}
