#pragma once

#include "forms/Colour.h"
#include "forms/Element.h"
#include "forms/Event.h"
#include "forms/Font.h"
#include "forms/Picture.h"

#include <QString>
#include <cstdint>
#include <vector>

// One thing drawn on a picture box, in the box's twips. Text stands with its top-left
// corner at (x1, y1) in the font it was printed with.
struct DrawOp {
    enum class Kind { Line, Box, Fill, Text };
    Kind kind = Kind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour color = 0;
    int width = 1;
    QString text;
    ::Font font;

    bool operator==(const DrawOp&) const = default;
};

// A child window of the form: takes the focus, clicks and keys, fills itself with BackColor,
// shows Picture at its top-left corner and can be drawn on. Everything drawn since the last
// Cls is kept as a list, so the window can paint it again at any scale and tests can read
// exactly what was drawn.
class PictureBox : public Element {
    Q_OBJECT
public:
    struct Look {
        Colour BackColor = SystemColour::WindowBackground;
        Colour ForeColor = SystemColour::WindowText;
        ::Font Font;
        PictureRef Picture;
        int TabIndex = 0;
    };

    PictureBox(QString name, QRectF bounds, Look look, bool visible = true);

    void Cls();
    // Line (x1, y1)-(x2, y2), colour; the B and BF forms draw the rectangle's outline or fill it.
    void Line(float x1, float y1, float x2, float y2, Colour colour);
    void LineBox(float x1, float y1, float x2, float y2, Colour colour);
    void LineFilled(float x1, float y1, float x2, float y2, Colour colour);
    void Print(const QString& text);
    // Width in twips of text in the current font.
    float TextWidth(const QString& text) const;
    void SetFocus();

    Colour BackColor() const { return look_.BackColor; }
    void SetBackColor(Colour colour) { change(look_.BackColor, colour); }
    Colour ForeColor() const { return look_.ForeColor; }
    void SetForeColor(Colour colour) { look_.ForeColor = colour; }
    std::int16_t DrawWidth() const { return drawWidth_; }
    void SetDrawWidth(std::int16_t width) { drawWidth_ = width; }
    void SetFontSize(double size) { look_.Font.Size = size; }
    void SetFontBold(bool bold) { look_.Font.Bold = bold; }
    const ::Font& Font() const { return look_.Font; }
    void SetCurrentX(float x) { currentX_ = x; }
    void SetCurrentY(float y) { currentY_ = y; }
    const PictureRef& Picture() const { return look_.Picture; }
    int TabIndex() const { return look_.TabIndex; }

    const std::vector<DrawOp>& Drawing() const { return drawing_; }

    // The box's events; KeyPress carries the typed character's code.
    Event Click;
    Event KeyPress;

signals:
    // How the showing window learns that the box asked for the keyboard focus.
    void focusRequested();

private:
    void draw(DrawOp op);
    float lineHeight();

    Look look_;
    std::int16_t drawWidth_ = 1;
    float currentX_ = 0;
    float currentY_ = 0;
    std::vector<DrawOp> drawing_;
    // Measuring a font costs more than drawing a whole frame, and the game prints in the same
    // font on every frame: the last font's line height is kept.
    ::Font measuredFont_;
    float lineHeight_ = -1;
};
