#include "replay/SoakPlayer.h"

#include "forms/Conversions.h"
#include "forms/Timer.h"
#include "game/VarnothForm.h"
#include "game/frmVarnoth.h"
#include "replay/ScriptedPlatform.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace {

constexpr Long kAiming = 1;
constexpr Long kGameOver = 3;
constexpr Long kMeterCeiling = 1050;
constexpr Long kTopStage = 10;
constexpr Integer kSpace = 32;

} // namespace

SoakPlayer::SoakPlayer(frmVarnoth& game, ScriptedPlatform& platform, std::uint32_t generatorStart,
                       LineOut onLine)
    : game_(game), m_(game.Record()), platform_(platform), tmrState_(game.Window().tmrState),
      tmrExtras_(game.Window().tmrExtras), onLine_(std::move(onLine)), random_(generatorStart) {}

void SoakPlayer::fail(const std::string& rule) const {
    throw std::logic_error("event " + std::to_string(events_) + " (tick " + std::to_string(ticks_) +
                           "): " + rule);
}

void SoakPlayer::checkAlways() const {
    if (m_.lGameState < 1 || m_.lGameState > 3)
        fail("lGameState is " + std::to_string(m_.lGameState));
    if (m_.lGameState == kAiming && m_.lBeamLength != -1)
        fail("aiming with lBeamLength " + std::to_string(m_.lBeamLength));
    if (m_.lLives < -1 || (m_.lLives == -1 && m_.lGameState != kGameOver))
        fail("lLives " + std::to_string(m_.lLives) + " in state " + std::to_string(m_.lGameState));
    if (m_.dScore != hitPointsSum_)
        fail("dScore " + std::to_string(m_.dScore) + " is not the sum of the hits, " +
             std::to_string(hitPointsSum_));
}

// Only right after UpdateStage has run: the drain moves the meter between calls.
void SoakPlayer::checkStage() const {
    if (m_.lExtraPoints < 0 || m_.lExtraPoints > kMeterCeiling)
        fail("meter " + std::to_string(m_.lExtraPoints) + " after UpdateStage");
    const Long band = std::min<Long>(CLng(m_.lExtraPoints / 100.0), kTopStage);
    if (m_.lStage != band)
        fail("stage " + std::to_string(m_.lStage) + " for meter " +
             std::to_string(m_.lExtraPoints));
}

void SoakPlayer::tick() {
    // The game-over tick asks for a name when the score beats the best; answer first.
    if (m_.lGameState == kGameOver && m_.dScore > m_.dHighScore) {
        static const QString names[] = {QString(), QStringLiteral("Ann"),
                                        QStringLiteral("A player with a very long name indeed"),
                                        QStringLiteral("  "), QStringLiteral("Zoë")};
        const QString& name = names[chance(5)];
        platform_.queueInputAnswer(name);
        line(name.isEmpty() ? "input" : "input " + name.toStdString());
    }
    const Long hitsBefore = m_.lHits;
    const Long targetsBefore = m_.lTargets;
    line("tick");
    game_.tmrState_Timer();
    ++ticks_;
    if (m_.lHits != hitsBefore) {
        hitPointsSum_ += m_.lLastHitPoints;
        ++hits_;
    }
    if (m_.lHits != hitsBefore || m_.lTargets != targetsBefore)
        checkStage();
}

void SoakPlayer::fire(bool bySpace) {
    const bool asks = m_.lGameState == kGameOver;
    int answer = 0;
    if (asks) {
        // Mostly another game; now and then Cancel, rarely the end of the evening.
        const int pick = chance(20);
        answer = pick == 0 ? Platform::vbNo : pick < 5 ? Platform::vbCancel : Platform::vbYes;
        platform_.queueMsgBoxAnswer(answer);
        line("msgbox " + std::to_string(answer));
    }
    line(bySpace ? "key 32" : "click");
    try {
        if (bySpace) {
            Integer code = kSpace;
            game_.picFire_KeyPress(code);
        } else {
            game_.picFire_Click();
        }
    } catch (const ProgramEnded&) {
        ended_ = true;
        return;
    }
    if (answer == Platform::vbYes) {
        // Another game: its score starts from nothing.
        hitPointsSum_ = 0;
        checkStage();
    }
}

void SoakPlayer::key(Integer code) {
    line("key " + std::to_string(code));
    game_.picFire_KeyPress(code);
}

void SoakPlayer::typeCodeWord() {
    for (const char c : std::string(chance(2) ? "quorly" : "QuOrLy"))
        key(static_cast<Integer>(c));
}

void SoakPlayer::play(long long ticks) {
    const auto stopAt = ticks_ + ticks;
    while (ticks_ < stopAt && !ended_) {
        ++events_;
        const bool timerRuns = tmrState_.Enabled();
        // A player who mostly fires while the target approaches the beam scores often
        // enough for new best scores and every stage to come up.
        const bool approaching = m_.lTargetPos > 1500 && m_.lTargetPos < 3600;
        const int pick = chance(100);
        if (!timerRuns || pick < 2 || (approaching && pick < 12))
            fire(chance(2) == 0);
        else if (pick < 4)
            key(static_cast<Integer>(std::uniform_int_distribution<int>(-32768, 32767)(random_)));
        else if (pick == 4 && chance(50) == 0)
            typeCodeWord();
        else {
            tick();
            if (--ticksToExtras_ == 0) {
                if (tmrExtras_.Enabled()) {
                    line("extras");
                    game_.tmrExtras_Timer();
                }
                ticksToExtras_ = std::uniform_int_distribution<int>(1, 20)(random_);
            }
        }
        checkAlways();
        // The dialogs are not looked at again; dropping them keeps memory flat all evening.
        platform_.takeDialogs();
    }
}
