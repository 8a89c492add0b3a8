#include "GameFixture.h"

#include "view/Colour.h"

#include <QString>
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using GameDrawing = GameTest;

namespace {

struct Segment {
    double x1, y1, x2, y2;
};

std::vector<Segment> SegmentsOf(const std::vector<DrawOp>& ops) {
    std::vector<Segment> segments;
    for (const DrawOp& op : ops)
        segments.push_back({op.x1, op.y1, op.x2, op.y2});
    return segments;
}

bool operator==(const Segment& a, const Segment& b) {
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

std::ostream& operator<<(std::ostream& out, const Segment& s) {
    return out << "(" << s.x1 << ", " << s.y1 << ")-(" << s.x2 << ", " << s.y2 << ")";
}

} // namespace

TEST_F(GameDrawing, BeamSinksIntoTheTargetLineOnePeriodAtATime) {
    struct Case {
        Long lines;
        Long head;
        bool left;
        bool atTarget;
        std::size_t periods;
        double lowestY;
    };
    const std::vector<Case> cases = {
        {5, 125, true, false, 5, 125},  {5, 2549, true, false, 5, 2549},
        {5, 2550, true, true, 5, 2550}, {5, 2551, true, true, 4, 2451},
        {5, 2950, true, true, 1, 2550}, {5, 2951, false, true, 0, 0},
        {3, 2750, true, true, 1, 2550}, {3, 2751, false, true, 0, 0},
        {3, 2850, false, true, 0, 0},   {0, 100, false, false, 0, 0},
        {-2, 2600, false, true, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lines << " periods, head at " << c.head);
        form.picGZone.Cls();
        m.lBeamLines = c.lines;
        m.bBeamAtTarget = !c.atTarget;
        const bool phase = game.BeamPhase();
        EXPECT_EQ(game.DrawBeam(c.head), c.left);
        EXPECT_EQ(m.bBeamAtTarget, c.atTarget);
        EXPECT_NE(game.BeamPhase(), phase);
        const auto lines = OpsOf(form.picGZone, DrawOp::Kind::Line);
        ASSERT_EQ(lines.size(), 2 * c.periods);
        if (c.periods > 0) {
            EXPECT_EQ(lines.front().y1, c.lowestY);
            EXPECT_EQ(lines.back().y2, c.lowestY - 100.0 * static_cast<double>(c.periods));
        }
    }
}

TEST_F(GameDrawing, BeamZigzagFlipsFromOneFrameToTheNext) {
    m.lBeamLines = 3;
    m.lBeamWidth = 2;
    m.lBeamColor = RGB(128, 0, 0);
    // The phase starts False and flips before drawing; a new game does not reset it.
    const std::vector<Segment> first = {{3912.5, 2451, 3987.5, 2401},
                                        {3987.5, 2401, 3912.5, 2351},
                                        {3912.5, 2351, 3987.5, 2301},
                                        {3987.5, 2301, 3912.5, 2251}};
    const std::vector<Segment> second = {{3987.5, 2451, 3912.5, 2401},
                                         {3912.5, 2401, 3987.5, 2351},
                                         {3987.5, 2351, 3912.5, 2301},
                                         {3912.5, 2301, 3987.5, 2251}};
    const std::vector<const std::vector<Segment>*> frames = {&first, &second, &first};
    for (std::size_t frame = 0; frame < frames.size(); ++frame) {
        SCOPED_TRACE(frame);
        form.picGZone.Cls();
        ASSERT_TRUE(game.DrawBeam(2551));
        const auto lines = OpsOf(form.picGZone, DrawOp::Kind::Line);
        EXPECT_EQ(SegmentsOf(lines), *frames[frame]);
        for (const DrawOp& line : lines) {
            EXPECT_EQ(line.width, 2);
            EXPECT_EQ(line.color, RGB(128, 0, 0));
        }
        EXPECT_EQ(form.picGZone.DrawWidth(), 1);
        if (frame == 0) {
            game.Form_Load();
            m.lBeamLines = 3;
            m.lBeamWidth = 2;
            m.lBeamColor = RGB(128, 0, 0);
        }
    }
}

TEST_F(GameDrawing, TargetScoresMoreTheCloserItsCentreIsToTheBeam) {
    struct Case {
        Long pos;
        Long points;
        const char* praise;
    };
    const std::vector<Case> cases = {
        {4150, 1000, "DIRECT HIT!!!"}, // centre right under the beam
        {4151, 909, "Awesome, man!!"},
        {4140, 500, "Awesome, man!!"},
        {4160, 500, "Awesome, man!!"},
        {4161, 476, "Great, dude!"},
        {4172, 312, "Great, dude!"},
        {4180, 250, "Great, dude!"},
        {4181, 244, "Nice shot!"},
        {4190, 200, "Nice shot!"},
        {4191, 196, "Yeah!"},
        {4206, 152, "Yeah!"},
        {4207, 149, "Good,"},
        {4240, 100, "Good,"},
        {4241, 99, "Hit,"},
        {4300, 62, "Hit,"},
        {4350, 48, "Hit,"},
        {3950, 48, "Hit,"},
        {4351, 0, nullptr},
        {3949, 0, nullptr},
        {0, 0, nullptr},
        {8200, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pos);
        Long style = 0;
        Long pos = c.pos;
        game.DrawTarget(style, pos);
        EXPECT_EQ(m.lShotPoints, c.points);
        if (c.praise) {
            EXPECT_EQ(game.GetPraiseText(m.lShotPoints), c.praise);
        }
        EXPECT_EQ(pos, c.pos);
    }
}

TEST_F(GameDrawing, TargetIsABoxOnAStandWithAFillByStyle) {
    struct Case {
        Long style;
        bool filled;
        double fillLeft;
        Colour fill;
    };
    const std::vector<Case> cases = {
        {0, true, 3750, RGB(255, 255, 0)},
        {1, true, 3830, RGB(0, 153, 255)},
        {2, false, 0, 0},
        {-1, false, 0, 0},
    };
    const std::vector<Segment> stand = {
        {3930, 2775, 3850, 3125}, {3970, 2775, 4050, 3125}, {3850, 3125, 4050, 3125}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        form.picGZone.Cls();
        form.picGZone.SetDrawWidth(2);
        Long style = c.style;
        Long pos = 4150;
        game.DrawTarget(style, pos);

        const auto& ops = form.picGZone.Drawing();
        ASSERT_EQ(ops.size(), c.filled ? 5U : 4U);
        std::size_t next = 0;
        if (c.filled) {
            EXPECT_EQ(ops[0].kind, DrawOp::Kind::Fill);
            EXPECT_EQ(SegmentsOf({ops[0]}), (std::vector<Segment>{{c.fillLeft, 2500, 4150, 2775}}));
            EXPECT_EQ(ops[0].color, c.fill);
            next = 1;
        }
        const std::vector<DrawOp> legs(ops.begin() + next, ops.begin() + next + 3);
        EXPECT_EQ(SegmentsOf(legs), stand);
        for (const DrawOp& leg : legs) {
            EXPECT_EQ(leg.kind, DrawOp::Kind::Line);
            EXPECT_EQ(leg.width, 2);
            EXPECT_EQ(leg.color, RGB(128, 128, 128));
        }
        const DrawOp& outline = ops.back();
        EXPECT_EQ(outline.kind, DrawOp::Kind::Box);
        EXPECT_EQ(SegmentsOf({outline}), (std::vector<Segment>{{3750, 2500, 4150, 2775}}));
        EXPECT_EQ(outline.width, 1);
        EXPECT_EQ(outline.color, RGB(0, 0, 0));
        EXPECT_EQ(form.picGZone.DrawWidth(), 1);
    }
}
