#pragma once

#include "forms/Event.h"
#include "game/VarnothForm.h"
#include "game/frmVarnoth.h"
#include "replay/RecordingPlatform.h"

#include <optional>

struct Artwork;
class HighScoreStore;
class Platform;
class ScriptRecorder;

// One game put together: the window's elements in their starting state, and frmVarnoth
// driving them on the platform and best-score store its user hands in. The program, the
// replay driver, the soak, the benchmarks and the tests all build their games here, so a
// new piece of the game is wired in one place.
//
//   Game g(artwork, platform, highScores);
//   g.start();                          // headless: load and activate, as showing does
//   FormWindow window(g.form);          // or on screen: showing the window starts it
//
// Given a recorder, the game plays on a RecordingPlatform over `platform` and the recorder
// hears every event, answer and yield, so the game can be replayed exactly. Given a guard,
// every event runs inside it, the recorder's bookkeeping included.
class Game {
    // First, so that the game below can play on it.
    std::optional<RecordingPlatform> recording_;

public:
    Game(const Artwork& artwork, Platform& platform, HighScoreStore& highScores,
         ScriptRecorder* recorder = nullptr, const Event::Layer& guard = {});
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // What showing the window does first: the form loads, then the fire button takes focus.
    void start();

    VarnothForm form;
    // Built after the form: it answers the elements' events.
    frmVarnoth game;
};
