#include "GameFixture.h"

#include "view/Colour.h"

#include <QString>
#include <gtest/gtest.h>

#include <vector>

using GameProgress = GameTest;

TEST_F(GameProgress, MeterValuesEndingInFiftyGoToTheEvenStage) {
    struct Case {
        Long meter;
        Long stage;
    };
    const std::vector<Case> cases = {
        {0, 0},   {50, 0},  {51, 1},  {149, 1},  {150, 2},   {250, 2}, {251, 3},
        {349, 3}, {350, 4}, {450, 4}, {451, 5},  {550, 6},   {650, 6}, {651, 7},
        {850, 8}, {851, 9}, {949, 9}, {950, 10}, {1050, 10},
    };
    for (const auto& c : cases) {
        ApplyMeter(c.meter);
        EXPECT_EQ(m.lStage, c.stage) << c.meter;
        EXPECT_EQ(m.lExtraPoints, c.meter);
    }
}

TEST_F(GameProgress, EachStageHasItsLookAndItsBeam) {
    constexpr Colour kBlack = RGB(0, 0, 0);
    constexpr Colour kGreen = RGB(0, 255, 0);
    struct Case {
        Long stage;
        const char* message;
        Colour beam;
        Long width;
        int device;
        int computer;
        Colour scoreBack;
        Colour scoreFore;
        const char* lamps;
        Long step;
        Long lines;
    };
    const std::vector<Case> cases = {
        {0, "Hit targets to upgrade device!", RGB(0, 0, 255), 1, 1, 1, kBlack, kGreen, "----------",
         125, 5},
        {1, "Hit targets to upgrade device!", RGB(0, 0, 255), 1, 1, 1, kBlack, kGreen, "R---------",
         150, 6},
        {2, "Stage 1: Enhanced microwave module", RGB(0, 0, 128), 1, 1, 1, kBlack, kGreen,
         "RR--------", 175, 7},
        {3, "Stage 2: Enhanced rod antenna", RGB(0, 0, 128), 1, 2, 1, kBlack, kGreen, "RRR-------",
         200, 8},
        {4, "Stage 3: Enhanced signal processing", RGB(0, 0, 64), 1, 2, 1, kBlack, kGreen,
         "RRRY------", 225, 9},
        {5, "Stage 4: Upgraded to FF communication", RGB(255, 0, 0), 1, 2, 1, kBlack, kGreen,
         "RRRYY-----", 250, 10},
        {6, "Stage 5: Upgraded to cone antenna", RGB(255, 0, 0), 1, 3, 1, kBlack, kGreen,
         "RRRYYY----", 275, 11},
        {7, "Stage 6: Upgraded to wireless interface", RGB(255, 0, 0), 2, 4, 1, kBlack, kGreen,
         "RRRYYYG---", 300, 12},
        {8, "Stage 7: Upgraded to 26GHz device", RGB(128, 0, 0), 2, 4, 1, kBlack, kGreen,
         "RRRYYYGG--", 325, 13},
        {9, "Stage 8: Enhanced cone antenna", RGB(128, 0, 0), 2, 5, 1, kBlack, kGreen, "RRRYYYGGG-",
         350, 14},
        {10, "Stage 9: Upgraded to OSKELDRIN", RGB(0, 0, 0), 2, 5, 2, RGB(0, 128, 255),
         RGB(255, 255, 255), "RRRYYYGGGG", 375, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stage);
        ApplyMeter(c.stage * 100);
        ASSERT_EQ(m.lStage, c.stage);
        EXPECT_EQ(form.lblExtras.Caption(), c.message);
        EXPECT_EQ(m.lBeamColor, c.beam);
        EXPECT_EQ(m.lBeamWidth, c.width);
        EXPECT_EQ(DevicePicture(), c.device);
        EXPECT_EQ(ComputerPicture(), c.computer);
        EXPECT_EQ(form.lblScore.BackColor(), c.scoreBack);
        EXPECT_EQ(form.lblScore.ForeColor(), c.scoreFore);
        EXPECT_EQ(Lamps(), c.lamps);
        EXPECT_EQ(m.lBeamStep, c.step);
        EXPECT_EQ(m.lBeamLines, c.lines);
    }
}

TEST_F(GameProgress, HitsFillTheMeterByAtMost120AndItStopsAt1050) {
    struct Case {
        const char* what;
        Long applied;
        Long meterBefore;
        Long points;
        Long meterAfter;
        Long stageAfter;
        const char* lamps;
    };
    const std::vector<Case> cases = {
        {"a small hit", 0, 0, 48, 48, 0, "----------"},
        {"a direct hit counts 120", 0, 0, 1000, 120, 1, "R---------"},
        {"two stages at once", 0, 40, 120, 160, 2, "RR--------"},
        {"into the top stage", 900, 900, 500, 1020, 10, "RRRYYYGGGG"},
        {"capped at the top", 1000, 1000, 500, 1050, 10, "RRRYYYGGGG"},
        {"the hidden mode's 1500", 0, 1500, 0, 1050, 10, "RRRYYYGGGG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ApplyMeter(c.applied);
        m.lExtraPoints = c.meterBefore;
        game.UpdateStage(c.points);
        EXPECT_EQ(m.lExtraPoints, c.meterAfter);
        EXPECT_EQ(m.lStage, c.stageAfter);
        EXPECT_EQ(Lamps(), c.lamps);
    }
}

TEST_F(GameProgress, DrainedMeterLowersTheStageAtTheNextCall) {
    struct Case {
        Long applied;
        int drains;
        Long meterAfter;
        Long stageAfter;
        const char* message;
        Colour beam;
        Long step;
        Long lines;
        const char* lamps;
        Colour scoreBack;
        int computer;
    };
    const std::vector<Case> cases = {
        {1050, 5, 925, 9, "Stage 8: Enhanced cone antenna", RGB(128, 0, 0), 350, 14, "RRRYYYGGG-",
         RGB(0, 0, 0), 1},
        {100, 8, 44, 0, "Hit targets to upgrade device!", RGB(0, 0, 255), 125, 5, "----------",
         RGB(0, 0, 0), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.applied);
        ApplyMeter(c.applied);
        const Long stageBefore = m.lStage;
        for (int i = 0; i < c.drains; ++i)
            game.tmrExtras_Timer();
        EXPECT_EQ(m.lExtraPoints, c.meterAfter);
        EXPECT_EQ(m.lStage, stageBefore);
        game.UpdateStage(0);
        EXPECT_EQ(m.lStage, c.stageAfter);
        EXPECT_EQ(form.lblExtras.Caption(), c.message);
        EXPECT_EQ(m.lBeamColor, c.beam);
        EXPECT_EQ(m.lBeamStep, c.step);
        EXPECT_EQ(m.lBeamLines, c.lines);
        EXPECT_EQ(Lamps(), c.lamps);
        EXPECT_EQ(form.lblScore.BackColor(), c.scoreBack);
        EXPECT_EQ(ComputerPicture(), c.computer);
    }
}

TEST_F(GameProgress, UnchangedStageTouchesNothingButTheMeter) {
    ApplyMeter(300);
    form.lblExtras.SetCaption("changed elsewhere");
    form.lblExtraIndicator[0].SetBackColor(RGB(0, 0, 255));
    form.imgDevice.SetPicture(form.imglstDevice.ListImages(5));
    form.lblScore.SetForeColor(RGB(1, 2, 3));
    m.lBeamStep = 1;
    m.lBeamLines = 2;
    m.lBeamColor = RGB(4, 5, 6);
    m.lBeamWidth = 7;

    game.UpdateStage(30);

    EXPECT_EQ(m.lExtraPoints, 330);
    EXPECT_EQ(m.lStage, 3);
    EXPECT_EQ(form.lblExtras.Caption(), "changed elsewhere");
    EXPECT_EQ(form.lblExtraIndicator[0].BackColor(), RGB(0, 0, 255));
    EXPECT_EQ(DevicePicture(), 5);
    EXPECT_EQ(form.lblScore.ForeColor(), RGB(1, 2, 3));
    EXPECT_EQ(m.lBeamStep, 1);
    EXPECT_EQ(m.lBeamLines, 2);
    EXPECT_EQ(m.lBeamColor, RGB(4, 5, 6));
    EXPECT_EQ(m.lBeamWidth, 7);
}

TEST_F(GameProgress, StatisticsShowHitsOfTargetsWithTheRateRoundedHalfUp) {
    struct Case {
        Long hits;
        Long targets;
        const char* caption;
    };
    const std::vector<Case> cases = {
        {0, 0, "0 of 0"},
        {0, 5, "0 of 5 (0%)"},
        {3, 4, "3 of 4 (75%)"},
        {1, 3, "1 of 3 (33%)"},
        {2, 3, "2 of 3 (67%)"},
        {1, 8, "1 of 8 (13%)"},
        {3, 8, "3 of 8 (38%)"},
        {20, 20, "20 of 20 (100%)"},
        {1, 0, "1 of 0"},
        {3, 2, "3 of 2 (150%)"},
        {1234, 5000, "1234 of 5000 (25%)"},
    };
    for (const auto& c : cases) {
        m.lHits = c.hits;
        m.lTargets = c.targets;
        game.UpdateStats();
        EXPECT_EQ(form.lblStat.Caption(), c.caption);
    }
}

TEST_F(GameProgress, LivesShowAsANumberOrADashWhenNoneAreLeft) {
    struct Case {
        Long lives;
        const char* caption;
    };
    const std::vector<Case> cases = {{10, "10"}, {5, "5"}, {1, "1"}, {0, "-"}, {-1, "-"}};
    for (const auto& c : cases) {
        m.lLives = c.lives;
        game.UpdateStats();
        EXPECT_EQ(form.lblLives.Caption(), c.caption) << c.lives;
    }
}
