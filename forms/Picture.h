#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

class QPainter;
class QRectF;
class QSvgRenderer;

// One picture of the game's artwork, drawn as vector art on a pixel grid so that it stays
// sharp at any scale factor. Elements hold pictures through PictureRef; a picture is never
// changed once loaded, so all holders can share it.
class Picture {
public:
    // Loads a picture from the program's resources; throws std::runtime_error when it is
    // missing or not a valid drawing.
    static std::shared_ptr<const Picture> load(const QString& resourcePath);
    ~Picture();

    const QString& Name() const { return name_; }
    QSize pixelSize() const { return size_; }

    // Draws the picture into target (logical pixels), rendered for the painter's device
    // pixel ratio and kept for the next frame at the same ratio.
    void paint(QPainter& painter, const QRectF& target) const;

private:
    Picture(QString name, std::unique_ptr<QSvgRenderer> renderer);
    QImage render(QSize devicePixels) const;

    QString name_;
    QSize size_;
    std::unique_ptr<QSvgRenderer> renderer_;
    mutable QImage cache_;
};

using PictureRef = std::shared_ptr<const Picture>;
