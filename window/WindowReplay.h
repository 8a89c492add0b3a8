#pragma once

#include "replay/PlayStats.h"
#include "replay/Script.h"
#include "replay/ScriptRunner.h"

#include <QTimer>
#include <cstddef>
#include <vector>

class FormWindow;
class ScriptedPlatform;

// Plays a replay script back in the window at the game's own cadence: one of the script's
// ticks every 25 ms from a precise timer, the lines between ticks at once. The game's own
// timers stay unbound, so nothing but the script moves it. Quits the application at the
// end of the script, or when the script's player declines another game, printing the
// figures of the run when asked.
class WindowReplay {
public:
    // The runner plays on platform, the game's platform.
    WindowReplay(std::vector<ScriptLine> script, ScriptRunner& runner, ScriptedPlatform& platform,
                 FormWindow& window, bool printStats);

    void start() { clock_.start(); }
    // 0 when the script ran to its end, 2 when it had a fault (the game's run-time errors
    // included, named by their line), 1 when anything else failed.
    int exitCode() const { return exitCode_; }

private:
    void step();
    void finish();

    std::vector<ScriptLine> script_;
    ScriptRunner& runner_;
    PlayStats stats_;
    QTimer clock_;
    std::size_t next_ = 0;
    int ticksLeft_ = 0;
    bool printStats_;
    int exitCode_ = 0;
};
