#pragma once

#include <QString>
#include <cstdint>

// The game's own number types, by the names its variables are prefixed with.
using Long = std::int32_t;    // l
using Integer = std::int16_t; // i
using Single = float;         // sng
using Double = double;        // d
using String = QString;       // s
// True and False are all the game ever stores in a Boolean, so bool keeps its meaning.
using Boolean = bool; // b

// All play state of the game, one instance per window. Every handler and operation of
// frmVarnoth reads and writes these variables directly. At program start every variable is
// zero, empty or False; Form_Load gives a game its start values.
struct GameRecord {
    Long lGameState = 0; // 1 aiming, 2 shot under way, 3 game over
    Double dScore = 0;
    Double dHighScore = 0;
    String sHighScoreWho;
    Long lLastHitPoints = 0;
    Long lMessageTicks = 0;
    Long lExtraPoints = 0; // the upgrade meter, 0..1050 after every UpdateStage
    Long lStage = 0;       // -1 until the first UpdateStage of a game
    Long lHits = 0;
    Long lTargets = 0;
    Long lLives = 0;
    String sTypedKeys;
    Long lTargetStyle = 0;
    Long lTargetStep = 0;
    Single sngSpeed = 0;
    Long lTargetPos = 0; // x of the right edge of the target's body, twips
    Long lShotPoints = 0;
    Long lBeamStep = 0;
    Long lBeamLength = 0; // -1 no shot, 0 shot just spent, > 0 y of the beam head
    Long lBeamLines = 0;
    Long lBeamColor = 0;
    Long lBeamWidth = 0;
    Boolean bBeamAtTarget = false;
};
