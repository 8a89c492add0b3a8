// Every caption the game writes shows whole in its element's own font, at one and at two
// screen pixels per logical pixel: no glyph cut at an edge, no word pushed onto a hidden line.
// Where the original face itself did not fit, the label wraps as it did there and shows the
// words that fit its height. The narrow face keeps the original's pixels: at whole scales
// every pixel of its text is the element's back or fore colour, its characters advance as the
// original's did, and 2x is 1x with each pixel a square of four; where a logical pixel is not
// a whole number of device pixels a smooth face of its size stands in. A framed lamp keeps
// its frame's edge at 1.5x, with nothing of its face outside the frame.

#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/Twips.h"
#include "game/VarnothForm.h"
#include "game/frmVarnoth.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "tests/window/Render.h"

#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <type_traits>

namespace {

TEST(CaptionFit, EveryCaptionShowsWholeInItsElementsFont) {
    VarnothForm form(SharedArtwork());
    ScriptedPlatform platform;
    MemoryHighScores store;
    frmVarnoth game(form, platform, store);
    // Label, caption, and what of it shows where the original wrapped it.
    const struct {
        Label& label;
        const char* caption;
        const char* shown = nullptr;
    } labels[] = {{form.lblScore, "99,999"},
                  {form.lblStat, "99 of 99 (100%)"},
                  {form.lblStat, "100 of 100 (100%)", "100 of 100"},
                  {form.lblExtras, "Stage 6: Upgraded to wireless interface"},
                  {form.lblExtras, "Stage 4: Upgraded to FF communication"},
                  {form.lblHighScore, "WWWWWWWWWWWW 99,999 pts"},
                  {form.lblLives, "10"}};
    for (const auto& [label, caption, shown] : labels)
        for (const int scale : {1, 2}) {
            SCOPED_TRACE(std::string(caption) + " at " + std::to_string(scale) + "x");
            label.SetCaption(QString::fromLatin1(caption));
            // The words that should show, on a label half as wide again and twice as high where
            // nothing wraps or is cut: all their ink lies inside the real label, which shows
            // exactly that.
            const double grow = label.Width() / 2;
            const double growLeft = label.Align() == Label::Alignment::Center ? grow : 0;
            const Label roomy(label.Name(),
                              label.Bounds().adjusted(-growLeft, 0, grow, label.Height()),
                              {label.BackColor(), label.ForeColor(), label.Font(), label.Align(),
                               label.FlatFrame()},
                              QString::fromLatin1(shown ? shown : caption));
            const int f = label.FlatFrame() ? 1 : 0; // inside the frame
            const QRect inside = twips::toPixels(label.Bounds()).adjusted(f, f, -f, -f);
            const QRect room = twips::toPixels(roomy.Bounds()).adjusted(f, f, -f, -f);
            const QImage wide = Render(room, scale, roomy);
            const QRect there((inside.topLeft() - room.topLeft()) * scale, inside.size() * scale);
            EXPECT_TRUE(there.contains(Ink(wide, toQColor(label.BackColor()).rgb())));
            EXPECT_EQ(Render(inside, scale, label), wide.copy(there));
        }

    // What the game prints on its picture boxes: the fire button's label, and the game-over
    // lines of the best score the labels can show, centred as the game centres them.
    game.UpdateFrame();
    game.Record().dScore = 99999;
    game.Record().dHighScore = 99999;
    game.Record().lGameState = 3;
    game.tmrState_Timer();
    for (const PictureBox* box : {&form.picFire, &form.picGZone})
        for (const int scale : {1, 2}) {
            const QImage seen =
                Render(QRect(QPoint(), twips::toPixels(box->Bounds()).size()), scale, *box);
            for (const DrawOp& op : box->Drawing()) {
                SCOPED_TRACE(op.text.toStdString() + " at " + std::to_string(scale) + "x");
                const QRect ink = Ink(seen.copy(0, twips::toPixels(op.y1) * scale, seen.width(),
                                                QFontMetrics(op.font.toQFont()).height() * scale),
                                      toQColor(box->BackColor()).rgb());
                EXPECT_GT(ink.left(), 0);
                EXPECT_LT(ink.right(), seen.width() - 1);
                if (box == &form.picGZone) {
                    EXPECT_NEAR(ink.left(), seen.width() - 1 - ink.right(), 2 * scale);
                }
            }
        }
}

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

TEST(CaptionFit, NarrowTextKeepsItsPixelsAndLampsTheirFrames) {
    VarnothForm form(SharedArtwork());
    ScriptedPlatform platform;
    MemoryHighScores store;
    frmVarnoth game(form, platform, store);
    // The score's six advances of 6, 6, 3, 6, 6, 6 pixels fill its 33; the fire button's
    // bold characters are struck twice, a pixel apart, and each a pixel wider.
    form.lblScore.SetCaption(QStringLiteral("99,999"));
    expectCrisp(form.lblScore, QRect(1, 2, 32, 10));
    game.UpdateFrame();
    expectCrisp(form.picFire, QRect(32, 7, 38, 9));

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
