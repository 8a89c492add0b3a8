// Preparing a game, and the player's only input: the fire button.
#include "game/App.h"
#include "game/Checked.h"
#include "game/HighScoreStore.h"
#include "game/frmVarnoth.h"

#include "forms/Conversions.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/Platform.h"
#include "forms/Timer.h"
#include "game/VarnothForm.h"

#include <QChar>
#include <QString>

namespace {

// Typed on the fire button, in any mix of capitals, it puts the game in its hidden mode.
const QString kCodeWord = QStringLiteral("quorly");
constexpr Long kHiddenLives = 10;
constexpr Long kHiddenExtraPoints = 1500;
constexpr Single kHiddenSpeed = 5.0F;

// The play-again question: Yes, No and Cancel, the question icon, Cancel as the default so
// that a stray Enter never ends the program or throws away the game-over screen.
constexpr int vbYesNoCancel = 3;
constexpr int vbQuestion = 32;
constexpr int vbDefaultButton3 = 512;
constexpr int kPlayAgainStyle = vbYesNoCancel + vbQuestion + vbDefaultButton3;

} // namespace

String frmVarnoth::HighScoreCaption() const {
    return m.sHighScoreWho + QStringLiteral(" ") + Format(m.dHighScore, QStringLiteral("#,##0")) +
           QStringLiteral(" pts");
}

void frmVarnoth::Form_Load() {
    m.lGameState = kAiming;

    m.sngSpeed = 1.0F;
    m.lTargetStep = 25;
    m.lTargetPos = 0;
    m.lTargetStyle = 0;
    m.lBeamLength = -1;

    tmrState.SetInterval(25);
    tmrState.SetEnabled(true);
    tmrExtras.SetEnabled(true);

    m.dScore = 0;
    lblScore.SetCaption(Format(m.dScore, QStringLiteral("#,##0")));

    highScores.LoadHighScore(m.sHighScoreWho, m.dHighScore);
    lblHighScore.SetCaption(HighScoreCaption());

    m.lLives = 5;
    m.sTypedKeys.clear();
    m.lHits = 0;
    m.lTargets = 0;
    UpdateStats();

    // lStage -1 makes the closing UpdateStage count as a change of stage, so a new game
    // always gets the whole stage-0 look and beam back, whatever the last game left.
    m.lExtraPoints = 0;
    m.lStage = -1;
    for (Label& lamp : form.lblExtraIndicator)
        lamp.SetBackColor(VarnothForm::kLampOff);
    UpdateStage(0);
}

void frmVarnoth::Form_Activate() {
    picFire.SetFocus();
}

void frmVarnoth::picFire_Click() {
    if (m.lGameState == kAiming) {
        // The shot itself starts on the next tick.
        m.lGameState = kShooting;
    } else if (m.lGameState == kGameOver) {
        const int answer =
            platform.MsgBox(QStringLiteral("Want to play again?"), kPlayAgainStyle, App::Title);
        if (answer == Platform::vbYes)
            Form_Load();
        else if (answer == Platform::vbNo)
            platform.End();
    }
}

void frmVarnoth::picFire_KeyPress(Integer& iCharCode) {
    const QChar c(static_cast<char16_t>(iCharCode));
    if (c != u' ') {
        // Every character counts, Enter and Backspace too, so anything typed besides the code
        // word spoils it until the next space. Spaces never reach the buffer, so there are no
        // blanks around it to trim.
        m.sTypedKeys += c;
        // Only a text as long as the code word can lower-case to it, so a long run of keys
        // without a space costs no copy of the whole run on every key.
        if (m.sTypedKeys.size() == kCodeWord.size() && m.sTypedKeys.toLower() == kCodeWord) {
            m.lLives = kHiddenLives;
            m.lExtraPoints = kHiddenExtraPoints;
            m.sngSpeed = kHiddenSpeed;
            m.sTypedKeys.clear();
        }
    } else {
        m.sTypedKeys.clear();
        picFire_Click();
    }
}

void frmVarnoth::tmrExtras_Timer() {
    // The higher the stage, the faster the meter drains; the stage itself follows at the next
    // UpdateStage, not here.
    m.lExtraPoints = Checked::Sub(m.lExtraPoints, Checked::Add(Checked::Mul(2, m.lStage), 5));
    if (m.lExtraPoints < 0)
        m.lExtraPoints = 0;
}
