#include "game/frmVarnoth.h"
#include "replay/Game.h"
#include "replay/ScriptRunner.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::vector<ScriptLine> parse(const std::string& text) {
    std::istringstream in(text);
    return Script::parse(in);
}

// The window's replay paints at every yield through the platform's hook; a click held for
// a yield must run there too, and leave the hook as it found it.
TEST(ScriptRunner, HeldEventsRunAtTheirYieldBesideTheWindowsOwnHook) {
    ScriptedPlatform platform;
    MemoryHighScores highScores;
    Game g(SharedArtwork(), platform, highScores);
    const frmVarnoth& game = g.game;
    const VarnothForm& form = g.form;
    int painted = 0;
    platform.onDoEvents = [&painted] { ++painted; };
    std::ostringstream out;
    ScriptRunner runner(g, platform, out);
    g.game.Form_Load();

    std::string script;
    for (int i = 0; i < 6; ++i)
        script += "set lTargetPos 8200\ntick\n";
    for (const ScriptLine& line : parse(script + "msgbox yes\nat-yield 1 click\ntick\n"))
        runner.Run(line);
    runner.Finish();

    // Yes at the first yield started a new game before the game-over tick drew its texts.
    EXPECT_EQ(game.Record().lGameState, 1);
    EXPECT_TRUE(form.tmrState.Enabled());
    ASSERT_EQ(form.picGZone.Drawing().size(), 2u);
    EXPECT_EQ(form.picGZone.Drawing()[1].text, QStringLiteral("Score: 0 points"));
    EXPECT_EQ(painted, platform.Yields());
    platform.DoEvents();
    EXPECT_EQ(painted, platform.Yields());
}

TEST(ScriptRunner, TickCountTellsTheWindowHowManyTicksALineHolds) {
    const struct {
        const char* line;
        int ticks;
    } cases[] = {{"tick", 1}, {"tick 40", 40}, {"tick 0", 0}, {"extras 3", 0}, {"click", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ScriptRunner::TickCount(parse(c.line).front()), c.ticks) << c.line;
    EXPECT_THROW(ScriptRunner::TickCount(parse("tick x").front()), ScriptError);
}

} // namespace
