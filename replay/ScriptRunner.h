#pragma once

#include "replay/Script.h"
#include "replay/ScriptedPlatform.h"

#include <deque>
#include <ostream>
#include <vector>

class VarnothForm;
class frmVarnoth;

// Carries out replay script lines on a game whose platform is a ScriptedPlatform: ticks,
// clicks and keys through the game's own handlers, dialog answers queued ahead, variables
// set by name, single operations called, and dumps of the whole state. Output (dumps and
// call results) goes to `out`, one JSON line each.
//
//   ScriptRunner runner(game, platform, std::cout);
//   for (const ScriptLine& line : Script::parse(file)) runner.run(line);
//   runner.finish();
//
// `at-yield K EVENT` holds EVENT (tick, extras, click, key or type) for the K-th yield of
// the next event line, as when a click arrives while the game-over tick waits in its yield.
// A driver that spreads `tick N` over real time runs it as N lines `tick`, one per
// TickCount, and the held events go with the first of them.
//
// `tick` and `extras` do nothing while their timer is off, as the window's timers do not
// fire then. Run throws ScriptError for a bad line, a dialog without a queued answer, or a
// run-time error of the game (Overflow) in what the line ran; it lets ProgramEnded through
// when the player declined another game.
class ScriptRunner {
public:
    ScriptRunner(frmVarnoth& game, ScriptedPlatform& platform, std::ostream& out);

    void run(const ScriptLine& line);
    // Throws ScriptError naming the line whose answer no dialog took, or whose held event
    // never ran.
    void finish();
    // How many state ticks a line asks for; the window's replay spreads these over real time.
    static int tickCount(const ScriptLine& line);

private:
    struct Held {
        int yield = 0;
        ScriptLine line;
    };

    void runEvent(const ScriptLine& line);
    void performEvent(const ScriptLine& line);
    void hold(const ScriptLine& line);
    void queueAnswer(const ScriptLine& line);
    void set(const ScriptLine& line);
    void call(const ScriptLine& line);
    void dump(const ScriptLine& line);
    void collectDialogs();

    frmVarnoth& game_;
    VarnothForm& form_;
    ScriptedPlatform& platform_;
    std::ostream& out_;
    // The lines that queued the answers still waiting for a dialog, per kind of dialog.
    std::deque<int> msgBoxLines_;
    std::deque<int> inputLines_;
    std::vector<ScriptedPlatform::Dialog> sinceDump_;
    std::vector<Held> held_;
};
