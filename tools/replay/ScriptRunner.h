#pragma once

#include "tools/replay/Script.h"
#include "view/ScriptedPlatform.h"

#include <deque>
#include <ostream>
#include <vector>

class frmVarnoth;
class VarnothForm;

// Carries out replay script lines on a game whose platform is a ScriptedPlatform: ticks,
// clicks and keys through the game's own handlers, dialog answers queued ahead, variables
// set by name, single operations called, and dumps of the whole state. Output (dumps and
// call results) goes to `out`, one JSON line each.
//
//   ScriptRunner runner(game, form, platform, std::cout);
//   for (const ScriptLine& line : Script::parse(file)) runner.Run(line);
//   runner.Finish();
//
// Run throws ScriptError for a bad line or a dialog without a queued answer; it lets
// ProgramEnded through when the player declined another game.
class ScriptRunner {
public:
    ScriptRunner(frmVarnoth& game, VarnothForm& form, ScriptedPlatform& platform,
                 std::ostream& out);

    void Run(const ScriptLine& line);
    // Throws ScriptError naming the line that queued an answer no dialog took.
    void Finish();
    // How many state ticks a line asks for; the window's replay spreads these over real time.
    static int TickCount(const ScriptLine& line);

private:
    void collectDialogs();
    void set(const ScriptLine& line);
    void call(const ScriptLine& line);

    frmVarnoth& game_;
    VarnothForm& form_;
    ScriptedPlatform& platform_;
    std::ostream& out_;
    std::deque<int> msgBoxLines_;
    std::deque<int> inputLines_;
    std::vector<ScriptedPlatform::Dialog> sinceDump_;
    int line_ = 0;
};
