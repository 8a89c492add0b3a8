#pragma once

#include "game/GameRecord.h"

class HighScoreStore;
class Image;
class ImageList;
class Label;
class PictureBox;
class Platform;
class Timer;
class VarnothForm;

// The game: its state record, the window's event handlers and the operations they share.
// It is handed the window's elements, the platform (dialogs, yield, end) and the high-score
// store, and wires itself to the elements' events. Handlers call each other directly, as
// the game was written; the operations are public so that tests and the replay driver can
// run any one of them on its own.
class frmVarnoth {
public:
    frmVarnoth(VarnothForm& form, Platform& platform, HighScoreStore& highScores);
    frmVarnoth(const frmVarnoth&) = delete;
    frmVarnoth& operator=(const frmVarnoth&) = delete;

    // Event handlers.
    void Form_Load();
    void Form_Activate();
    void picFire_Click();
    void picFire_KeyPress(Integer& iCharCode);
    void tmrState_Timer();
    void tmrExtras_Timer();

    // Operations.
    void UpdateFrame();
    Boolean DrawBeam(Long lHeadY);
    void DrawTarget(Long& lStyle, Long& lPos);
    String GetPraiseText(Long& lPoints);
    void UpdateStage(Long lPoints);
    void UpdateStats();

    VarnothForm& Window() { return form; }
    GameRecord& Record() { return m; }
    const GameRecord& Record() const { return m; }
    Boolean BeamPhase() const { return bBeamPhase; }

private:
    // The values of lGameState.
    static constexpr Long kAiming = 1;
    static constexpr Long kShooting = 2;
    static constexpr Long kGameOver = 3;

    void scoreHit();
    void tickGameOver();
    // "Ann 12,340 pts": the holder's name and the best score, as the high-score label shows them.
    String HighScoreCaption() const;

    VarnothForm& form;
    Platform& platform;
    HighScoreStore& highScores;

    // The elements, by the names the game gives them.
    PictureBox& picGZone;
    PictureBox& picFire;
    PictureBox& picExplosion;
    Label& lblScore;
    Label& lblHighScore;
    Label& lblStat;
    Label& lblLives;
    Label& lblExtras;
    Image& imgDevice;
    Image& imgComputer;
    Timer& tmrState;
    Timer& tmrExtras;
    const ImageList& imglstComputer;
    const ImageList& imglstDevice;

    GameRecord m;
    // Kept by DrawBeam between its calls so the zigzag flips every frame; never reset, not
    // even by a new game.
    Boolean bBeamPhase = false;
};
