#include "GameFixture.h"

#include "view/Colour.h"

#include <QString>
#include <gtest/gtest.h>

#include <vector>

using GameFrame = GameTest;

TEST_F(GameFrame, FireButtonIsBrightOnlyWhileAShotCanBeFired) {
    struct Case {
        Long state;
        Colour back;
        Colour fore;
    };
    const std::vector<Case> cases = {
        {1, RGB(255, 0, 0), RGB(255, 255, 255)},
        {2, RGB(128, 0, 0), RGB(255, 128, 128)},
        {3, RGB(128, 0, 0), RGB(255, 128, 128)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        m.lGameState = c.state;
        game.UpdateFrame();
        EXPECT_EQ(form.picFire.BackColor(), c.back);
        ASSERT_EQ(form.picFire.Drawing().size(), 1U);
        const DrawOp& label = form.picFire.Drawing()[0];
        EXPECT_EQ(label.text, "F I R E");
        EXPECT_EQ(label.x1, 460);
        EXPECT_EQ(label.y1, 80);
        EXPECT_EQ(label.color, c.fore);
    }
}

TEST_F(GameFrame, DeviceClimbsBackTwentyAFrameWithoutAClamp) {
    struct Case {
        double top;
        double after;
    };
    const std::vector<Case> cases = {{120, 140}, {340, 360}, {350, 370},
                                     {359, 379}, {360, 360}, {361, 361}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.top);
        form.imgDevice.SetTop(c.top);
        game.UpdateFrame();
        EXPECT_EQ(form.imgDevice.Top(), c.after);
    }
}

TEST_F(GameFrame, CrossingEndsOnlyBeyondTheFarSide) {
    struct Case {
        Long pos;
        Long step;
        bool crossed;
        Long posAfter;
    };
    const std::vector<Case> cases = {
        {8174, 25, false, 8199},
        {8175, 25, false, 8200},
        {8176, 25, true, 0},
        {8200, 250, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pos);
        game.Form_Load();
        m.lTargetPos = c.pos;
        m.lTargetStep = c.step;
        Tick();
        EXPECT_EQ(m.lTargetPos, c.posAfter);
        EXPECT_EQ(m.lTargets, c.crossed ? 1 : 0);
        EXPECT_EQ(m.lLives, c.crossed ? 4 : 5);
        EXPECT_EQ(form.lblLives.Caption(), c.crossed ? "4" : "5");
        EXPECT_EQ(form.lblStat.Caption(), c.crossed ? "0 of 1 (0%)" : "0 of 0");
        EXPECT_EQ(m.lTargetStyle, c.crossed ? 1 : 0);
        EXPECT_EQ(m.sngSpeed, c.crossed ? 1.1F : 1.0F);
    }
}

TEST_F(GameFrame, TargetGetsFasterEveryCrossingUpToTenTimesItsStartingSpeed) {
    struct Case {
        Single startSpeed;
        int crossings;
        Long step;
    };
    const std::vector<Case> cases = {
        {1.0F, 1, 28},    {1.0F, 2, 30},   {1.0F, 3, 33},   {1.0F, 4, 35},
        {1.0F, 5, 38},    {1.0F, 85, 238}, {1.0F, 89, 248}, {1.0F, 90, 250},
        {1.0F, 120, 250}, {5.0F, 1, 127},  {5.0F, 2, 130},  {5.0F, 37, 217},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.startSpeed << " after " << c.crossings);
        game.Form_Load();
        m.sngSpeed = c.startSpeed;
        m.lLives = 1000;
        for (int i = 0; i < c.crossings; ++i) {
            m.lTargetPos = 8200;
            game.UpdateFrame();
        }
        EXPECT_EQ(m.lTargetStep, c.step);
        EXPECT_EQ(m.lTargetStyle, c.crossings % 2);
        if (c.startSpeed == 1.0F && c.crossings == 85) {
            EXPECT_EQ(m.sngSpeed, 9.5F);
        }
        if (c.startSpeed == 1.0F && c.crossings >= 90) {
            EXPECT_EQ(m.sngSpeed, 10.0000019F);
        }
    }
}

TEST_F(GameFrame, LastLifeLostEndsTheGameButTheFrameRunsToTheEnd) {
    m.lLives = 0;
    m.lTargetPos = 8200;
    m.lMessageTicks = 5;
    m.lLastHitPoints = 100;
    form.picExplosion.SetVisible(true);

    Tick();

    EXPECT_EQ(m.lLives, -1);
    EXPECT_EQ(m.lGameState, 3);
    EXPECT_EQ(m.lTargets, 1);
    EXPECT_EQ(form.lblLives.Caption(), "-");
    EXPECT_EQ(form.lblStat.Caption(), "0 of 1 (0%)");
    EXPECT_EQ(m.lTargetStyle, 1);
    EXPECT_EQ(m.sngSpeed, 1.1F);
    EXPECT_EQ(m.lTargetStep, 28);
    EXPECT_EQ(m.lTargetPos, 0);
    ASSERT_EQ(OpsOf(form.picGZone, DrawOp::Kind::Box).size(), 1U);
    EXPECT_EQ(OpsOf(form.picGZone, DrawOp::Kind::Box)[0].x1, -400);
    ASSERT_EQ(OpsOf(form.picGZone, DrawOp::Kind::Text).size(), 1U);
    EXPECT_EQ(OpsOf(form.picGZone, DrawOp::Kind::Text)[0].text, "Good, 100 pts");
    EXPECT_EQ(m.lMessageTicks, 4);
    EXPECT_TRUE(form.tmrState.Enabled());

    Tick();
    EXPECT_FALSE(form.tmrState.Enabled());
    EXPECT_EQ(OpsOf(form.picGZone, DrawOp::Kind::Text).at(0).text, "GAME OVER");
}

TEST_F(GameFrame, ShotGoesOnFallingWhenTheCrossingEndsUnderIt) {
    m.lGameState = 2;
    m.lBeamLength = 1000;
    m.lTargetPos = 8200;
    Tick();
    EXPECT_EQ(m.lTargets, 1);
    EXPECT_EQ(m.lTargetPos, 0);
    EXPECT_EQ(m.lGameState, 2);
    EXPECT_EQ(m.lBeamLength, 1125);
    EXPECT_EQ(OpsOf(form.picGZone, DrawOp::Kind::Line).size(), 2U * 5 + 3);
    Tick();
    EXPECT_EQ(m.lBeamLength, 1250);
    EXPECT_EQ(m.lTargetPos, 28);
}

TEST_F(GameFrame, HitMessageCountsDownAndTheExplosionGoesByPositionOrWithTheLastFrame) {
    struct Case {
        const char* what;
        Long ticks;
        Long posAfterStep;
        bool printed;
        Long ticksAfter;
        bool visibleAfter;
    };
    const std::vector<Case> cases = {
        {"next target past 1950", 30, 1951, true, 29, false},
        {"next target at 1950", 30, 1950, true, 29, true},
        {"last frame of the message", 1, 100, true, 0, false},
        {"two frames left", 2, 100, true, 1, true},
        {"no message", 0, 5000, false, 0, true},
        {"counter below zero", -3, 5000, false, -3, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m.lTargetStep = 1;
        m.lTargetPos = c.posAfterStep - 1;
        m.lMessageTicks = c.ticks;
        m.lLastHitPoints = 48;
        form.picExplosion.SetVisible(true);
        game.UpdateFrame();
        const auto texts = OpsOf(form.picGZone, DrawOp::Kind::Text);
        ASSERT_EQ(texts.size(), c.printed ? 1U : 0U);
        if (c.printed) {
            EXPECT_EQ(texts[0].text, "Hit, 48 pts");
            EXPECT_EQ(texts[0].x1, 4450);
            EXPECT_EQ(texts[0].y1, 2000);
            EXPECT_EQ(texts[0].font.Size, 8);
            EXPECT_TRUE(texts[0].font.Bold);
            EXPECT_EQ(texts[0].color, RGB(0, 128, 255));
        }
        EXPECT_EQ(m.lMessageTicks, c.ticksAfter);
        EXPECT_EQ(form.picExplosion.Visible(), c.visibleAfter);
    }
}

TEST_F(GameFrame, PraiseGrowsWithThePoints) {
    struct Case {
        Long points;
        const char* praise;
    };
    const std::vector<Case> cases = {
        {5000, "DIRECT HIT!!!"},
        {1000, "DIRECT HIT!!!"},
        {999, "Awesome, man!!"},
        {500, "Awesome, man!!"},
        {499, "Great, dude!"},
        {250, "Great, dude!"},
        {249, "Nice shot!"},
        {200, "Nice shot!"},
        {199, "Yeah!"},
        {150, "Yeah!"},
        {149, "Good,"},
        {100, "Good,"},
        {99, "Hit,"},
        {0, "Hit,"},
        {-7, "Hit,"},
    };
    for (const auto& c : cases) {
        Long points = c.points;
        EXPECT_EQ(game.GetPraiseText(points), c.praise) << c.points;
        EXPECT_EQ(points, c.points);
    }
}

TEST_F(GameFrame, GameWithoutAHitEndsAfterTheSixthCrossing) {
    // Ticks per crossing from position 0: 8201 twips at 25, 28, 30, 33, 35 and 38 a tick.
    const std::vector<int> expectedTicks = {329, 293, 274, 249, 235, 216};
    std::vector<int> ticksPerCrossing;
    int ticks = 0;
    while (m.lGameState != 3 && ticks < 5000) {
        const Long targets = m.lTargets;
        Tick();
        ++ticks;
        if (m.lTargets != targets) {
            ticksPerCrossing.push_back(ticks);
            ticks = 0;
        }
    }
    EXPECT_EQ(ticksPerCrossing, expectedTicks);
    EXPECT_EQ(m.lTargets, 6);
    EXPECT_EQ(m.lLives, -1);
    EXPECT_EQ(m.lHits, 0);
    EXPECT_EQ(form.lblStat.Caption(), "0 of 6 (0%)");

    Tick();
    EXPECT_FALSE(form.tmrState.Enabled());
    EXPECT_TRUE(platform.Dialogs().empty());
}
