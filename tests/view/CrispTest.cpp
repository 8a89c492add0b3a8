// The narrow face as the original drew it: at whole scales every pixel of its text is the
// element's back or fore colour, its characters advance as the original's did, and 2x is 1x
// with each pixel a square of four; where a logical pixel is not a whole number of device
// pixels a smooth face of its size stands in. A framed lamp keeps its frame's edge at 1.5x,
// with nothing of its face outside the frame.

#include "game/frmVarnoth.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "tests/view/Render.h"
#include "view/Twips.h"
#include "view/VarnothForm.h"

#include <QImage>
#include <gtest/gtest.h>
#include <set>

namespace {

std::set<QRgb> coloursOf(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

template <typename Element> void expectCrisp(const Element& element, const QRect& ink) {
    const QRgb back = toQColor(element.BackColor()).rgb();
    const QRect area = twips::toPixels(element.Bounds());
    // A picture box paints itself from its own corner; a label where it stands in the window.
    const QRect from = std::is_same_v<Element, Label> ? area : QRect(QPoint(), area.size());
    const QImage one = Render(from, 1, element);
    EXPECT_EQ(coloursOf(one), (std::set<QRgb>{back, toQColor(element.ForeColor()).rgb()}));
    EXPECT_EQ(Ink(one, back), ink);
    EXPECT_EQ(Render(from, 2, element), one.scaled(one.size() * 2));
    EXPECT_GE(Ink(Render(from, 1.5, element), back).height(), ink.height() * 3 / 2 - 1);
}

TEST(Crisp, NarrowTextKeepsItsPixelsAndLampsTheirFrames) {
    VarnothForm form(SharedArtwork());
    ScriptedPlatform platform;
    MemoryHighScores store;
    frmVarnoth game(form, platform, store);
    {
        SCOPED_TRACE("the score: six advances of 6, 6, 3, 6, 6, 6 pixels fill its 33");
        form.lblScore.SetCaption(QStringLiteral("99,999"));
        expectCrisp(form.lblScore, QRect(1, 2, 32, 10));
    }
    {
        SCOPED_TRACE("the fire button: bold, each character struck twice and a pixel wider");
        game.UpdateFrame();
        expectCrisp(form.picFire, QRect(32, 7, 38, 9));
    }

    const Label& lamp = form.lblExtraIndicator[0];
    const QImage seen = Render(twips::toPixels(lamp.Bounds()).adjusted(-2, -2, 2, 2), 1.5, lamp);
    const QRgb frame = toQColor(SystemColour::WindowText).rgb();
    const QRect ink = Ink(seen, qRgb(255, 0, 255));
    EXPECT_EQ(ink, QRect(3, 3, 14, 14)); // 9 logical pixels from 3 device pixels in
    EXPECT_EQ(coloursOf(seen.copy(ink)), (std::set<QRgb>{frame, toQColor(lamp.BackColor()).rgb()}));
    for (const QRect edge : {QRect(ink.topLeft(), QSize(ink.width(), 1)),
                             QRect(ink.bottomLeft(), QSize(ink.width(), 1)),
                             QRect(ink.topLeft(), QSize(1, ink.height())),
                             QRect(ink.topRight(), QSize(1, ink.height()))})
        EXPECT_EQ(coloursOf(seen.copy(edge)), std::set<QRgb>{frame}) << edge.x() << "," << edge.y();
}

} // namespace
