#pragma once

#include "game/GameRecord.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

class frmVarnoth;
class ScriptedPlatform;
class Timer;

// A random player for a long evening of play: clicks, keys from the whole 16-bit range with
// the code word now and then, extras ticks every 1 to 20 state ticks, and answers of every
// kind to the dialogs, queued ahead as a script does. A timer that is off does not tick, as in
// the window. After every event it checks the rules
// that must always hold for the state record. Every event is also given to onLine, when
// there is one, as the script line that replays it.
class SoakPlayer {
public:
    using LineOut = std::function<void(const std::string& line)>;

    SoakPlayer(frmVarnoth& game, ScriptedPlatform& platform, std::uint32_t generatorStart,
               LineOut onLine = {});

    // Plays until the state timer has ticked `ticks` times or the player has declined
    // another game. Throws std::logic_error naming the event when a rule is broken.
    void play(long long ticks);
    long long ticks() const { return ticks_; }
    long long events() const { return events_; }
    long long hits() const { return hits_; }
    bool ended() const { return ended_; }

private:
    void tick();
    void fire(bool bySpace);
    void key(Integer code);
    void typeCodeWord();
    void checkAlways() const;
    void checkStage() const;
    void fail(const std::string& rule) const;
    void line(const std::string& text) {
        if (onLine_)
            onLine_(text);
    }
    int chance(int outOf) { return std::uniform_int_distribution<int>(0, outOf - 1)(random_); }

    frmVarnoth& game_;
    GameRecord& m_;
    ScriptedPlatform& platform_;
    const Timer& tmrState_;
    const Timer& tmrExtras_;
    const LineOut onLine_;
    std::mt19937 random_;
    long long ticks_ = 0;
    long long events_ = 0;
    long long hits_ = 0;
    int ticksToExtras_ = 1;
    double hitPointsSum_ = 0;
    bool ended_ = false;
};
