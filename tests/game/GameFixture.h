#pragma once

#include "game/GameRecord.h"
#include "game/frmVarnoth.h"
#include "replay/Game.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "view/PictureBox.h"
#include "view/ScriptedPlatform.h"
#include "view/VarnothForm.h"

#include <QString>
#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

struct Artwork;
class Timer;

// A scripted platform that also remembers which timers the game handed it.
class TestPlatform : public ScriptedPlatform {
public:
    std::vector<const Timer*> bound;
    void BindTimer(Timer& timer) override { bound.push_back(&timer); }
};

// A whole game on its window, headless, in a US English locale, with a game just loaded.
// Tests move it on by calling the handlers; nothing waits on a clock.
class GameTest : public ::testing::Test {
protected:
    GameTest();

    void Tick(int count = 1);
    // Sets the meter and applies the stage it gives, as the first call of a game does.
    void ApplyMeter(Long meter);
    int DevicePicture() const;
    int ComputerPicture() const;
    // The lamps from the left: R, Y or G for a lit lamp, - for a grey one.
    QString Lamps() const;

    TestPlatform platform;
    MemoryHighScores highScores;
    Game g{SharedArtwork(), platform, highScores};
    VarnothForm& form = g.form;
    frmVarnoth& game = g.game;
    GameRecord& m = game.Record();
};

std::vector<DrawOp> OpsOf(const PictureBox& box, DrawOp::Kind kind);

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
