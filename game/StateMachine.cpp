// The heartbeat of the game: every 25 ms tmrState moves the three-state machine on.
#include "game/App.h"
#include "game/Checked.h"
#include "game/HighScoreStore.h"
#include "game/frmVarnoth.h"

#include "forms/Colour.h"
#include "forms/Conversions.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/Platform.h"
#include "forms/Timer.h"

#include <QString>

namespace {

// The device jumps up by this much when it fires; UpdateFrame lowers it back.
constexpr double kRecoilTop = 120;
// The hit message stays for 1.5 s of 25 ms ticks.
constexpr Long kMessageTicks = 1500 / 25;
// Past the far side: the next frame ends the crossing at once.
constexpr Long kBeyondFarSide = 8201;
// The explosion is as wide as the target's body and covers it from its left edge.
constexpr Long kTargetWidth = 400;

constexpr float kGameOverY = 1250;
constexpr float kScoreLineY = 2300;
constexpr int kMaxNameLength = 20;

// The first count characters of text; a character outside the basic plane is two UTF-16
// units, and cutting between them would store half a character.
QString firstCharacters(const QString& text, int count) {
    qsizetype units = 0;
    for (int taken = 0; taken < count && units < text.size(); ++taken)
        units += text.at(units).isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
    return text.left(units);
}

} // namespace

void frmVarnoth::tmrState_Timer() {
    switch (m.lGameState) {
    case kAiming:
        UpdateFrame();
        break;
    case kShooting:
        if (m.lBeamLength == 0) {
            // The last frame used the beam up without a hit.
            m.lBeamLength = -1;
            m.lGameState = kAiming;
        } else if (m.lBeamLength < 0) {
            // First tick of the shot: the frame below makes the first beam step.
            m.lBeamLength = 0;
            imgDevice.SetTop(kRecoilTop);
        } else if (m.bBeamAtTarget && m.lShotPoints > 0) {
            // Both flags come from the previous frame: the beam had reached the target line
            // while the target covered the beam's axis.
            scoreHit();
        }
        UpdateFrame();
        break;
    case kGameOver:
        tickGameOver();
        break;
    default:
        break;
    }
    platform.DoEvents();
}

void frmVarnoth::scoreHit() {
    m.lLastHitPoints = m.lShotPoints;
    m.lHits = Checked::Add(m.lHits, 1);
    // Before the crossing is counted, so for this moment the statistics read one hit more
    // against the old number of targets; the frame below puts that right.
    UpdateStats();
    m.lMessageTicks = kMessageTicks;
    m.dScore = m.dScore + m.lLastHitPoints;
    lblScore.SetCaption(Format(m.dScore, QStringLiteral("#,##0")));
    UpdateStage(m.lLastHitPoints);
    // The play field starts at the window's left edge, so its x is the window's.
    picExplosion.SetLeft(Checked::Sub(m.lTargetPos, kTargetWidth));
    picExplosion.SetVisible(true);
    // The frame below ends the crossing and takes a life for it; the extra life makes a hit
    // target cost none.
    m.lTargetPos = kBeyondFarSide;
    m.lBeamLength = -1;
    m.lLives = Checked::Add(m.lLives, 1);
    m.lGameState = kAiming;
}

void frmVarnoth::tickGameOver() {
    picGZone.Cls();
    // Off first, so this tick runs once and no tick can run inside the dialogs.
    tmrState.SetEnabled(false);
    tmrExtras.SetEnabled(false);
    picExplosion.SetVisible(false);
    platform.DoEvents();

    // Centred in Single, as the window measures itself, with the font just set.
    const auto halfWidth = static_cast<float>(picGZone.Width()) / 2;
    const QString gameOver = QStringLiteral("GAME OVER");
    picGZone.SetFontSize(30);
    picGZone.SetFontBold(true);
    picGZone.SetForeColor(RGB(0, 0, 0));
    picGZone.SetCurrentY(kGameOverY);
    picGZone.SetCurrentX(halfWidth - picGZone.TextWidth(gameOver) / 2);
    picGZone.Print(gameOver);

    const QString scoreLine = QStringLiteral("Score: ") +
                              Format(m.dScore, QStringLiteral("#,##0")) + QStringLiteral(" points");
    picGZone.SetFontSize(12);
    picGZone.SetCurrentY(kScoreLineY);
    picGZone.SetCurrentX(halfWidth - picGZone.TextWidth(scoreLine) / 2);
    picGZone.Print(scoreLine);

    // Only a better score asks for a name; an equal one leaves the holder in place.
    if (m.dScore > m.dHighScore) {
        QString name = platform.InputBox(
            QStringLiteral("Congratulations! You have set a new highscore!\r\n\r\n"
                           "Please enter your name:"),
            App::Title, m.sHighScoreWho);
        if (!name.isEmpty()) {
            name = firstCharacters(name, kMaxNameLength);
            m.dHighScore = m.dScore;
            m.sHighScoreWho = name;
            highScores.SaveHighScore(m.sHighScoreWho, m.dHighScore);
            lblHighScore.SetCaption(HighScoreCaption());
        }
    }
}
