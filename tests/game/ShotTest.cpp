#include "GameFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Parked here the target is far from the beam and every frame scores 0; under the beam at
// 4150 a frame scores a direct hit. The target stands still while a shot is studied.
constexpr Long kAwayFromTheBeam = 1000;
constexpr Long kUnderTheBeam = 4150;

class GameShot : public GameTest {
protected:
    void Aim(Long stage) {
        game.Form_Load();
        ApplyMeter(stage * 100);
        m.lTargetStep = 0;
        m.lTargetPos = kAwayFromTheBeam;
        game.picFire_Click();
    }

    // Fires a shot and puts the target under the beam for frame `frame` only; returns the
    // frame before the tick that scored, or 0 when the shot missed.
    int HitFrameWhenUnderTheBeamOn(Long stage, int frame) {
        Aim(stage);
        for (int tick = 1; tick <= 60 && m.lGameState == 2; ++tick) {
            m.lTargetPos = tick == frame ? kUnderTheBeam : kAwayFromTheBeam;
            const Long hits = m.lHits;
            Tick();
            if (m.lHits != hits)
                return tick - 1;
        }
        return 0;
    }
};

} // namespace

TEST_F(GameShot, EachStageGivesItsBeamItsOwnWindowForAHit) {
    struct Case {
        Long stage;
        Long step;
        Long lines;
        int firstAtLine;
        int lastWithBeam;
        int framesThatHit;
        int usedUp;
    };
    const std::vector<Case> cases = {
        {0, 125, 5, 21, 23, 3, 24},  {1, 150, 6, 17, 20, 4, 21},  {2, 175, 7, 15, 18, 4, 19},
        {3, 200, 8, 13, 16, 4, 17},  {4, 225, 9, 12, 14, 3, 15},  {5, 250, 10, 11, 13, 3, 14},
        {6, 275, 11, 10, 12, 3, 13}, {7, 300, 12, 9, 12, 4, 13},  {8, 325, 13, 8, 11, 4, 12},
        {9, 350, 14, 8, 11, 4, 12},  {10, 375, 15, 7, 10, 4, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage);

        // A miss, frame by frame: frame 1 is the launch tick's.
        Aim(c.stage);
        ASSERT_EQ(m.lBeamStep, c.step);
        ASSERT_EQ(m.lBeamLines, c.lines);
        int firstAtLine = 0;
        int lastWithBeam = 0;
        int usedUp = 0;
        for (int frame = 1; frame <= 60 && usedUp == 0; ++frame) {
            Tick();
            if (m.bBeamAtTarget && firstAtLine == 0)
                firstAtLine = frame;
            if (m.lBeamLength > 0)
                lastWithBeam = frame;
            if (m.lBeamLength == 0)
                usedUp = frame;
        }
        EXPECT_EQ(firstAtLine, c.firstAtLine);
        EXPECT_EQ(lastWithBeam, c.lastWithBeam);
        EXPECT_EQ(usedUp, c.usedUp);
        // The miss is noticed on the next tick and costs nothing.
        EXPECT_EQ(m.lGameState, 2);
        Tick();
        EXPECT_EQ(m.lGameState, 1);
        EXPECT_EQ(m.lBeamLength, -1);
        EXPECT_EQ(m.lLives, 5);
        EXPECT_EQ(m.lHits, 0);

        // Which frames of the shot score when the target stands under the beam on just that
        // frame: the hit comes on the tick after it, with the points of that frame.
        std::vector<int> framesThatHit;
        for (int frame = 1; frame <= c.usedUp + 1; ++frame) {
            const int scored = HitFrameWhenUnderTheBeamOn(c.stage, frame);
            if (scored != 0) {
                EXPECT_EQ(scored, frame);
                EXPECT_EQ(m.dScore, 1000);
                framesThatHit.push_back(frame);
            }
        }
        ASSERT_EQ(framesThatHit.size(), static_cast<std::size_t>(c.framesThatHit));
        EXPECT_EQ(framesThatHit.front(), c.firstAtLine);
        EXPECT_EQ(framesThatHit.back(), c.lastWithBeam);
    }
}
