// The player's progress on screen: the upgrade stage and the hit statistics.
#include "game/Checked.h"
#include "game/frmVarnoth.h"

#include "forms/Colour.h"
#include "forms/Conversions.h"
#include "forms/Image.h"
#include "forms/ImageList.h"
#include "forms/Label.h"
#include "game/VarnothForm.h"

#include <QString>
#include <array>

namespace {

// A hit of 120 points fills the meter as much as a direct hit.
constexpr Long kMostPointsPerHit = 120;
constexpr Long kMeterFull = 1050;
constexpr double kPointsPerStage = 100.0;
constexpr Long kTopStage = 10;

struct StageLook {
    const char* message;
    Colour beamColor;
    Long beamWidth;
    int devicePicture;
    Colour scoreBackColor;
    Colour scoreForeColor;
    int computerPicture;
};

constexpr Colour kScoreBack = RGB(0, 0, 0);
constexpr Colour kScoreFore = RGB(0, 255, 0);

// What each stage looks like. Stages 0 and 1 look alike: the first upgrade comes at stage 2,
// which is why the messages count one below the stage.
constexpr std::array<StageLook, kTopStage + 1> kStages{{
    {"Hit targets to upgrade device!", RGB(0, 0, 255), 1, 1, kScoreBack, kScoreFore, 1},
    {"Hit targets to upgrade device!", RGB(0, 0, 255), 1, 1, kScoreBack, kScoreFore, 1},
    {"Stage 1: Enhanced microwave module", RGB(0, 0, 128), 1, 1, kScoreBack, kScoreFore, 1},
    {"Stage 2: Enhanced rod antenna", RGB(0, 0, 128), 1, 2, kScoreBack, kScoreFore, 1},
    {"Stage 3: Enhanced signal processing", RGB(0, 0, 64), 1, 2, kScoreBack, kScoreFore, 1},
    {"Stage 4: Upgraded to FF communication", RGB(255, 0, 0), 1, 2, kScoreBack, kScoreFore, 1},
    {"Stage 5: Upgraded to cone antenna", RGB(255, 0, 0), 1, 3, kScoreBack, kScoreFore, 1},
    {"Stage 6: Upgraded to wireless interface", RGB(255, 0, 0), 2, 4, kScoreBack, kScoreFore, 1},
    {"Stage 7: Upgraded to 26GHz device", RGB(128, 0, 0), 2, 4, kScoreBack, kScoreFore, 1},
    {"Stage 8: Enhanced cone antenna", RGB(128, 0, 0), 2, 5, kScoreBack, kScoreFore, 1},
    {"Stage 9: Upgraded to OSKELDRIN", RGB(0, 0, 0), 2, 5, RGB(0, 128, 255), RGB(255, 255, 255), 2},
}};

} // namespace

void frmVarnoth::UpdateStage(Long lPoints) {
    const Long a = lPoints > kMostPointsPerHit ? kMostPointsPerHit : lPoints;
    m.lExtraPoints = Checked::Add(m.lExtraPoints, a);
    if (m.lExtraPoints > kMeterFull)
        m.lExtraPoints = kMeterFull;
    // Nothing takes points away here; should anything ever try, the meter stops at empty as
    // it does under the drain.
    if (m.lExtraPoints < 0)
        m.lExtraPoints = 0;

    // Half to even: a meter ending in 50 goes to the even stage beside it.
    Long s = CLng(m.lExtraPoints / kPointsPerStage);
    if (s > kTopStage)
        s = kTopStage;
    // Most calls end here, so the lamps and pictures never flicker.
    if (s == m.lStage)
        return;
    m.lStage = s;

    for (Long i = 0; i < VarnothForm::kLamps; ++i)
        form.lblExtraIndicator[i].SetBackColor(i < s ? VarnothForm::litLamp(i)
                                                     : VarnothForm::kLampOff);

    m.lBeamStep = Checked::Mul(Checked::Add(s, 5), 25);
    m.lBeamLines = Checked::Add(s, 5);

    const StageLook& look = kStages[s];
    lblExtras.SetCaption(QString::fromLatin1(look.message));
    m.lBeamColor = look.beamColor;
    m.lBeamWidth = look.beamWidth;
    imgDevice.SetPicture(imglstDevice.ListImages(look.devicePicture));
    lblScore.SetBackColor(look.scoreBackColor);
    lblScore.SetForeColor(look.scoreForeColor);
    imgComputer.SetPicture(imglstComputer.ListImages(look.computerPicture));
}

void frmVarnoth::UpdateStats() {
    lblStat.SetCaption(QString::number(m.lHits) + QStringLiteral(" of ") +
                       QString::number(m.lTargets));
    // No per cent before the first crossing: there is nothing to divide by.
    if (m.lTargets > 0) {
        const double rate = static_cast<double>(m.lHits) / m.lTargets * 100;
        lblStat.SetCaption(lblStat.Caption() + QStringLiteral(" (") +
                           Format(rate, QStringLiteral("0")) + QStringLiteral("%)"));
    }
    lblLives.SetCaption(m.lLives > 0 ? QString::number(m.lLives) : QStringLiteral("-"));
}
