#pragma once

#include "forms/Colour.h"
#include "forms/Element.h"
#include "forms/Font.h"

// A windowless text area: fills its rectangle with BackColor and draws Caption from its top
// edge. The window paints it in the stacking order.
class Label : public Element {
    Q_OBJECT
public:
    enum class Alignment { Left, Center };

    struct Look {
        Colour BackColor = SystemColour::WindowBackground;
        Colour ForeColor = SystemColour::WindowText;
        ::Font Font;
        Alignment Align = Alignment::Left;
        bool FlatFrame = false;
    };

    Label(QString name, QRectF bounds, Look look, QString caption = {})
        : Element(std::move(name), bounds), look_(std::move(look)), caption_(std::move(caption)) {}

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    Colour BackColor() const { return look_.BackColor; }
    void SetBackColor(Colour colour) { change(look_.BackColor, colour); }
    Colour ForeColor() const { return look_.ForeColor; }
    void SetForeColor(Colour colour) { change(look_.ForeColor, colour); }
    const ::Font& Font() const { return look_.Font; }
    Alignment Align() const { return look_.Align; }
    bool FlatFrame() const { return look_.FlatFrame; }

signals:
    // After Caption changed, for a screen reader that speaks the label.
    void captionChanged();

private:
    Look look_;
    QString caption_;
};
