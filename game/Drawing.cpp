// The moving parts of the play field, and between them the whole hit test: DrawBeam tells
// whether the beam has reached the target line, DrawTarget what a hit would score.
#include "game/Checked.h"
#include "game/frmVarnoth.h"

#include "forms/Colour.h"
#include "forms/Conversions.h"
#include "forms/PictureBox.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr Long kBeamAxis = 3950;
constexpr float kZigzagWidth = 75;
constexpr float kBeamLeft = kBeamAxis - kZigzagWidth / 2;
constexpr float kBeamRight = kBeamAxis + kZigzagWidth / 2;
constexpr Long kPeriod = 100;
constexpr Long kHalfPeriod = kPeriod / 2;
constexpr Long kTargetLine = 2550;

constexpr Long kBodyWidth = 400;
// The blue fill leaves the body's leftmost 80 twips in the field's colour.
constexpr Long kBlueFillWidth = 320;
constexpr Single kBodyTop = 2500;
constexpr Single kBodyBottom = 2775;
constexpr Single kFootLine = 3125;
constexpr Colour kYellow = RGB(255, 255, 0);
constexpr Colour kBlue = RGB(0, 153, 255);
constexpr Colour kStandGrey = RGB(128, 128, 128);
constexpr Colour kOutlineBlack = RGB(0, 0, 0);
constexpr Integer kStandWidth = 2;

// Points fall off with the distance of the target's centre from the beam's axis; beyond half
// the body's width the body no longer covers the axis.
constexpr Long kHalfBody = kBodyWidth / 2;
constexpr double kPointsScale = 10000.0;
constexpr Long kDistanceOffset = 10;
constexpr Long kBestHit = 1000;

} // namespace

Boolean frmVarnoth::DrawBeam(Long lHeadY) {
    // Flipped on every call, so the zigzag vibrates from one frame to the next.
    bBeamPhase = !bBeamPhase;
    m.bBeamAtTarget = lHeadY >= kTargetLine;

    // The beam sinks into the target line a whole period at a time.
    Long y = lHeadY;
    Long n = m.lBeamLines;
    while (y > kTargetLine) {
        y = Checked::Sub(y, kPeriod);
        n = Checked::Sub(n, 1);
    }

    Boolean result = false;
    if (n >= 1) {
        picGZone.SetDrawWidth(CInt(m.lBeamWidth));
        // From the lowest period upward; periods above the top edge are clipped by the field,
        // so a falling beam seems to grow down from the device.
        for (Long period = 0; period < n; ++period) {
            const auto lower = static_cast<float>(y);
            const auto middle = static_cast<float>(Checked::Sub(y, kHalfPeriod));
            const auto upper = static_cast<float>(Checked::Sub(y, kPeriod));
            if (bBeamPhase) {
                picGZone.Line(kBeamLeft, lower, kBeamRight, middle, m.lBeamColor);
                picGZone.Line(kBeamRight, middle, kBeamLeft, upper, m.lBeamColor);
            } else {
                picGZone.Line(kBeamRight, lower, kBeamLeft, middle, m.lBeamColor);
                picGZone.Line(kBeamLeft, middle, kBeamRight, upper, m.lBeamColor);
            }
            y = Checked::Sub(y, kPeriod);
        }
        result = true;
    }
    picGZone.SetDrawWidth(1);
    return result;
}

void frmVarnoth::DrawTarget(Long& lStyle, Long& lPos) {
    const auto left = static_cast<float>(Checked::Sub(lPos, kBodyWidth));
    const auto right = static_cast<float>(lPos);

    picGZone.SetDrawWidth(1);
    if (lStyle == 0)
        picGZone.LineFilled(left, kBodyTop, right, kBodyBottom, kYellow);
    else if (lStyle == 1)
        picGZone.LineFilled(static_cast<float>(Checked::Sub(lPos, kBlueFillWidth)), kBodyTop, right,
                            kBodyBottom, kBlue);

    // Two legs from either side of the centre at the body's bottom out to the foot's ends.
    picGZone.SetDrawWidth(kStandWidth);
    const auto at = [&lPos](Long offset) { return static_cast<float>(Checked::Sub(lPos, offset)); };
    picGZone.Line(at(220), kBodyBottom, at(300), kFootLine, kStandGrey);
    picGZone.Line(at(180), kBodyBottom, at(100), kFootLine, kStandGrey);
    picGZone.Line(at(300), kFootLine, at(100), kFootLine, kStandGrey);

    // The outline is always the whole body, whatever the fill left out.
    picGZone.SetDrawWidth(1);
    picGZone.LineBox(left, kBodyTop, right, kBodyBottom, kOutlineBlack);

    // The difference never is the one Long without a positive counterpart, so abs is safe.
    const Long d = std::abs(Checked::Sub(kBeamAxis, Checked::Sub(lPos, kHalfBody)));
    if (d > kHalfBody) {
        m.lShotPoints = 0;
    } else {
        // Half to even, as the game converts: 312.5 scores 312 and 62.5 scores 62.
        m.lShotPoints = std::min(CLng(kPointsScale / Checked::Add(d, kDistanceOffset)), kBestHit);
    }
}
