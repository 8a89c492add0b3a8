// One step of play: the frame that every tick of states 1 and 2 draws.
#include "game/Checked.h"
#include "game/frmVarnoth.h"

#include "forms/Colour.h"
#include "forms/Conversions.h"
#include "forms/Image.h"
#include "forms/PictureBox.h"

#include <QString>

namespace {

constexpr double kDeviceRestTop = 360;
constexpr double kDeviceReturnStep = 20;

constexpr Long kFarSide = 8200;
constexpr Single kTopSpeed = 10.0F;
constexpr double kSpeedIncrement = 0.1;
constexpr double kStepPerSpeed = 25;

constexpr float kMessageX = 4450;
constexpr float kMessageY = 2000;
// Once the next target has come this far, the explosion would hang over empty field.
constexpr Long kExplosionGoneAt = 1950;

} // namespace

void frmVarnoth::UpdateFrame() {
    picGZone.Cls();
    picFire.Cls();

    // Bright while a shot can be fired, dark while one is under way.
    if (m.lGameState == kAiming) {
        picFire.SetBackColor(RGB(255, 0, 0));
        picFire.SetForeColor(RGB(255, 255, 255));
    } else {
        picFire.SetBackColor(RGB(128, 0, 0));
        picFire.SetForeColor(RGB(255, 128, 128));
    }
    picFire.SetCurrentX(460);
    picFire.SetCurrentY(80);
    picFire.Print(QStringLiteral("F I R E"));

    // Back down after the recoil. No clamp: from 120 it lands exactly on 360 in twelve ticks.
    if (imgDevice.Top() < kDeviceRestTop)
        imgDevice.SetTop(imgDevice.Top() + kDeviceReturnStep);

    if (m.lBeamLength >= 0) {
        m.lBeamLength = Checked::Add(m.lBeamLength, m.lBeamStep);
        // 0, not -1: the state machine sees on its next tick that the shot is over.
        if (!DrawBeam(m.lBeamLength))
            m.lBeamLength = 0;
    }

    m.lTargetPos = Checked::Add(m.lTargetPos, m.lTargetStep);
    if (m.lTargetPos > kFarSide) {
        m.lTargetPos = 0;
        m.lTargets = Checked::Add(m.lTargets, 1);
        m.lLives = Checked::Sub(m.lLives, 1);
        // The rest of the frame still runs; the next tick shows the game-over screen.
        if (m.lLives < 0)
            m.lGameState = kGameOver;
        UpdateStats();
        UpdateStage(0);
        m.lTargetStyle = m.lTargetStyle == 0 ? 1 : 0;
        // The sum in double, stored back in Single: from 1.0 the speed first reaches 10 after
        // 90 crossings, at 10.0000019.
        if (m.sngSpeed < kTopSpeed)
            m.sngSpeed = static_cast<Single>(m.sngSpeed + kSpeedIncrement);
        // The product in double too, so that 1.3000001 gives 33, not 32, and 9.5 gives 238.
        m.lTargetStep = CLng(m.sngSpeed * kStepPerSpeed);
    }

    DrawTarget(m.lTargetStyle, m.lTargetPos);

    if (m.lMessageTicks >= 1) {
        picGZone.SetFontSize(8);
        picGZone.SetFontBold(true);
        picGZone.SetForeColor(RGB(0, 128, 255));
        picGZone.SetCurrentY(kMessageY);
        picGZone.SetCurrentX(kMessageX);
        picGZone.Print(GetPraiseText(m.lLastHitPoints) + QStringLiteral(" ") +
                       Format(m.lLastHitPoints, QStringLiteral("#,##0")) + QStringLiteral(" pts"));
        m.lMessageTicks = Checked::Sub(m.lMessageTicks, 1);
        if (m.lTargetPos > kExplosionGoneAt || m.lMessageTicks <= 0)
            picExplosion.SetVisible(false);
    }
}

String frmVarnoth::GetPraiseText(Long& lPoints) {
    if (lPoints >= 1000)
        return QStringLiteral("DIRECT HIT!!!");
    if (lPoints >= 500)
        return QStringLiteral("Awesome, man!!");
    if (lPoints >= 250)
        return QStringLiteral("Great, dude!");
    if (lPoints >= 200)
        return QStringLiteral("Nice shot!");
    if (lPoints >= 150)
        return QStringLiteral("Yeah!");
    if (lPoints >= 100)
        return QStringLiteral("Good,");
    return QStringLiteral("Hit,");
}
