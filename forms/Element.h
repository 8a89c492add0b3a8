#pragma once

#include <QObject>
#include <QRectF>
#include <QString>

// What every element of the window has: a name, a rectangle in twips and a visibility.
// The window that shows the element listens to changed; the element reports the area it
// covered before the change, so that a moved element is repainted where it was too.
// Without a listener (in tests and the headless driver) a change costs nothing more.
class Element : public QObject {
    Q_OBJECT
public:
    explicit Element(QString name, QRectF bounds, bool visible = true)
        : name_(std::move(name)), bounds_(bounds), visible_(visible) {}
    virtual ~Element() = default;
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    const QString& Name() const { return name_; }
    QRectF Bounds() const { return bounds_; }

    double Left() const { return bounds_.left(); }
    double Top() const { return bounds_.top(); }
    double Width() const { return bounds_.width(); }
    double Height() const { return bounds_.height(); }
    bool Visible() const { return visible_; }

    void SetLeft(double left);
    void SetTop(double top);
    void SetVisible(bool visible) { change(visible_, visible); }

signals:
    void changed(const QRectF& previousArea);

protected:
    void report() { emit changed(bounds_); }
    // Sets a property and reports the change. Setting the value it already has reports nothing:
    // the game writes most of its properties every frame, mostly with what they already hold.
    // True when the value was new.
    template <typename T> bool change(T& property, const T& value) {
        if (property == value)
            return false;
        property = value;
        report();
        return true;
    }

private:
    QString name_;
    QRectF bounds_;
    bool visible_;
};
