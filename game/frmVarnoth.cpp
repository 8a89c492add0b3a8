#include "game/frmVarnoth.h"

#include "forms/Platform.h"
#include "game/VarnothForm.h"

#include <cstdint>

frmVarnoth::frmVarnoth(VarnothForm& form, Platform& platform, HighScoreStore& highScores)
    : form(form), platform(platform), highScores(highScores), picGZone(form.picGZone),
      picFire(form.picFire), picExplosion(form.picExplosion), lblScore(form.lblScore),
      lblHighScore(form.lblHighScore), lblStat(form.lblStat), lblLives(form.lblLives),
      lblExtras(form.lblExtras), imgDevice(form.imgDevice), imgComputer(form.imgComputer),
      tmrState(form.tmrState), tmrExtras(form.tmrExtras), imglstComputer(form.imglstComputer),
      imglstDevice(form.imglstDevice) {
    form.Load.Handle([this] { Form_Load(); });
    form.Activate.Handle([this] { Form_Activate(); });
    picFire.Click.Handle([this] { picFire_Click(); });
    picFire.KeyPress.Handle([this](std::int16_t& iCharCode) { picFire_KeyPress(iCharCode); });
    tmrState.OnTimer.Handle([this] { tmrState_Timer(); });
    tmrExtras.OnTimer.Handle([this] { tmrExtras_Timer(); });
    platform.BindTimer(tmrState);
    platform.BindTimer(tmrExtras);
}
