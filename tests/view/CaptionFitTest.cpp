// Every caption the game writes shows whole in its element's own font, at one and at two
// screen pixels per logical pixel: no glyph cut at an edge, no word pushed onto a hidden line.
// Where the original face itself did not fit, the label wraps as it did there and shows the
// words that fit its height.

#include "tests/support/QtTestMain.h"
#include "tests/view/Render.h"
#include "view/Label.h"
#include "view/Twips.h"
#include "view/VarnothForm.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(CaptionFit, EveryCaptionShowsWholeInItsElementsFont) {
    VarnothForm form(SharedArtwork());
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
}

} // namespace
