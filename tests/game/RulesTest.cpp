// The edge values of the game's rules, one table each; the flows that join them are the
// replay scenarios'.
#include "game/GameRecord.h"
#include "game/VarnothForm.h"
#include "game/frmVarnoth.h"
#include "main/Game.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"

#include <QString>
#include <gtest/gtest.h>
#include <ranges>

namespace {

// A game just loaded, headless; the tests call its handlers and operations directly.
class Rules : public ::testing::Test {
protected:
    Rules() { game.Form_Load(); }

    // The stage's whole look on one line: stage, message, beam colour, width, step and
    // periods, device and computer pictures, score colours, and the lamps (R, Y, G, -).
    QString Look() const {
        QString look = QStringLiteral("%1 %2 %3/%4/%5/%6 %7/%8 %9/%10 ")
                           .arg(m.lStage)
                           .arg(form.lblExtras.Caption())
                           .arg(m.lBeamColor)
                           .arg(m.lBeamWidth)
                           .arg(m.lBeamStep)
                           .arg(m.lBeamLines)
                           .arg(form.imglstDevice.IndexOf(form.imgDevice.Picture()))
                           .arg(form.imglstComputer.IndexOf(form.imgComputer.Picture()))
                           .arg(form.lblScore.BackColor())
                           .arg(form.lblScore.ForeColor());
        for (const Label& lamp : form.lblExtraIndicator)
            look += lamp.BackColor() == RGB(255, 0, 0)       ? u'R'
                    : lamp.BackColor() == RGB(255, 255, 0)   ? u'Y'
                    : lamp.BackColor() == RGB(0, 255, 0)     ? u'G'
                    : lamp.BackColor() == RGB(192, 192, 192) ? u'-'
                                                             : u'?';
        return look;
    }

    ScriptedPlatform platform;
    MemoryHighScores highScores;
    Game g{testArtwork(), platform, highScores};
    VarnothForm& form = g.form;
    frmVarnoth& game = g.game;
    GameRecord& m = game.Record();
};

TEST_F(Rules, PraiseGrowsWithThePoints) {
    const struct {
        Long points;
        const char* praise;
    } cases[] = {{1000, "DIRECT HIT!!!"}, {999, "Awesome, man!!"}, {500, "Awesome, man!!"},
                 {499, "Great, dude!"},   {250, "Great, dude!"},   {249, "Nice shot!"},
                 {200, "Nice shot!"},     {199, "Yeah!"},          {150, "Yeah!"},
                 {149, "Good,"},          {100, "Good,"},          {99, "Hit,"}};
    for (auto c : cases)
        EXPECT_EQ(game.GetPraiseText(c.points), QString::fromLatin1(c.praise)) << c.points;
}

// Points fall off with the distance of the target's centre (lPos - 200) from the beam at
// 3950, rounded half to even, up to 1000; beyond 200 twips the body misses the beam.
TEST_F(Rules, TargetScoresMoreTheCloserItsCentreIsToTheBeam) {
    const struct {
        Long pos, points;
    } cases[] = {{4151, 909}, {4160, 500}, {4172, 312}, {4300, 62},
                 {4350, 48},  {3950, 48},  {4351, 0},   {3949, 0}};
    for (auto c : cases) {
        Long style = 0;
        game.DrawTarget(style, c.pos);
        EXPECT_EQ(m.lShotPoints, c.points) << c.pos;
    }
}

// The head at lHeadY: the beam reaches the target line at 2550, sinks into it a whole
// period of 100 at a time, and is spent once no period is left above the line.
TEST_F(Rules, BeamReachesTheTargetLineAndIsSpentPeriodByPeriod) {
    const struct {
        Long lines, head;
        bool drawn, atTarget;
        std::size_t periods;
        double lowestY;
    } cases[] = {{5, 2549, true, false, 5, 2549}, {5, 2550, true, true, 5, 2550},
                 {5, 2551, true, true, 4, 2451},  {5, 2950, true, true, 1, 2550},
                 {5, 2951, false, true, 0, 0},    {3, 2751, false, true, 0, 0}};
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << c.lines << " periods, head at " << c.head);
        form.picGZone.Cls();
        m.lBeamLines = c.lines;
        m.lBeamWidth = 2;
        EXPECT_EQ(game.DrawBeam(c.head), c.drawn);
        EXPECT_EQ(m.bBeamAtTarget, c.atTarget);
        const auto& lines = form.picGZone.Drawing();
        ASSERT_EQ(lines.size(), 2 * c.periods);
        if (c.periods > 0) {
            EXPECT_EQ(lines.front().y1, c.lowestY);
            EXPECT_EQ(lines.front().width, 2);
        }
        EXPECT_EQ(form.picGZone.DrawWidth(), 1);
    }
}

// The meter makes the stage in hundreds, a meter ending in 50 going to the even stage.
TEST_F(Rules, MeterSetsTheStageAndEachStageItsLook) {
    const struct {
        Long meter;
        const char* look;
    } cases[] = {
        {50, "0 Hit targets to upgrade device! 16711680/1/125/5 1/1 0/65280 ----------"},
        {51, "1 Hit targets to upgrade device! 16711680/1/150/6 1/1 0/65280 R---------"},
        {250, "2 Stage 1: Enhanced microwave module 8388608/1/175/7 1/1 0/65280 RR--------"},
        {251, "3 Stage 2: Enhanced rod antenna 8388608/1/200/8 2/1 0/65280 RRR-------"},
        {350, "4 Stage 3: Enhanced signal processing 4194304/1/225/9 2/1 0/65280 RRRY------"},
        {451, "5 Stage 4: Upgraded to FF communication 255/1/250/10 2/1 0/65280 RRRYY-----"},
        {650, "6 Stage 5: Upgraded to cone antenna 255/1/275/11 3/1 0/65280 RRRYYY----"},
        {651, "7 Stage 6: Upgraded to wireless interface 255/2/300/12 4/1 0/65280 RRRYYYG---"},
        {850, "8 Stage 7: Upgraded to 26GHz device 128/2/325/13 4/1 0/65280 RRRYYYGG--"},
        {851, "9 Stage 8: Enhanced cone antenna 128/2/350/14 5/1 0/65280 RRRYYYGGG-"},
        {950, "10 Stage 9: Upgraded to OSKELDRIN 0/2/375/15 5/2 16744448/16777215 RRRYYYGGGG"},
    };
    // From the top stage down, so every lamp a lower stage leaves dark must be put out.
    for (const auto& c : std::views::reverse(cases)) {
        m.lExtraPoints = c.meter;
        m.lStage = -1;
        game.UpdateStage(0);
        EXPECT_EQ(Look(), QString::fromLatin1(c.look)) << c.meter;
        EXPECT_EQ(m.lExtraPoints, std::min(c.meter, 1050));
    }
}

// A hit adds at most 120 to the meter, a drained meter takes the stage down at the next
// call, and an unchanged stage leaves its look alone.
TEST_F(Rules, TheStageFollowsTheMeterUpByAtMost120AHitAndDown) {
    const struct {
        Long before, points, after, stage;
    } cases[] = {{0, 48, 48, 0}, {40, 120, 160, 2}, {1000, 121, 1050, 10}, {925, 0, 925, 9}};
    for (auto c : cases) {
        m.lExtraPoints = c.before;
        game.UpdateStage(c.points);
        EXPECT_EQ(m.lExtraPoints, c.after) << c.before << " + " << c.points;
        EXPECT_EQ(m.lStage, c.stage) << c.before << " + " << c.points;
    }
    form.lblExtras.SetCaption(QStringLiteral("changed elsewhere"));
    game.UpdateStage(20);
    EXPECT_EQ(form.lblExtras.Caption(), QStringLiteral("changed elsewhere"));
}

// The slow timer drains 2 x stage + 5, never below 0, and leaves the stage to UpdateStage.
TEST_F(Rules, ExtrasTimerDrainsTheMeterFasterAtHigherStages) {
    const struct {
        Long stage, meter, after;
    } cases[] = {{0, 3, 0}, {0, 100, 95}, {1, 100, 93}, {10, 1050, 1025}};
    for (auto c : cases) {
        m.lStage = c.stage;
        m.lExtraPoints = c.meter;
        game.tmrExtras_Timer();
        EXPECT_EQ(m.lExtraPoints, c.after) << c.stage << " " << c.meter;
        EXPECT_EQ(m.lStage, c.stage);
    }
}

// Hits of targets, the rate rounded half up and shown only once a target has crossed; the
// lives as a number, or a dash when none are left.
TEST_F(Rules, StatisticsAndLivesLabels) {
    const struct {
        Long hits, targets, lives;
        const char* stat;
        const char* livesCaption;
    } cases[] = {{0, 1, 1, "0 of 1 (0%)", "1"},
                 {1, 8, 0, "1 of 8 (13%)", "-"},
                 {2, 3, 10, "2 of 3 (67%)", "10"},
                 {3, 8, -1, "3 of 8 (38%)", "-"}};
    for (auto c : cases) {
        m.lHits = c.hits;
        m.lTargets = c.targets;
        m.lLives = c.lives;
        game.UpdateStats();
        EXPECT_EQ(form.lblStat.Caption(), QString::fromLatin1(c.stat));
        EXPECT_EQ(form.lblLives.Caption(), QString::fromLatin1(c.livesCaption));
    }
}

// A hit is counted before its crossing: for a moment the statistics read one hit more
// against the old number of targets, as the game has always done it.
TEST_F(Rules, HitIsCountedBeforeItsCrossing) {
    QStringList captions;
    QObject::connect(&form.lblStat, &Element::changed,
                     [&](const QRectF&) { captions += form.lblStat.Caption(); });
    m.lGameState = 2;
    m.lBeamLength = 2600;
    m.bBeamAtTarget = true;
    m.lShotPoints = 250;
    game.tmrState_Timer();
    EXPECT_EQ(captions.value(0), QStringLiteral("1 of 0"));
    EXPECT_EQ(form.lblStat.Caption(), QStringLiteral("1 of 1 (100%)"));
}

// Each crossing adds 0.1 to the speed in Single up to 10; the step is 25 x speed rounded
// half to even (1.3000001 gives 33, 9.5 gives 238). A crossing ends only beyond 8200.
TEST_F(Rules, CrossingsSpeedTheTargetUp) {
    const struct {
        int crossings;
        Long step;
    } cases[] = {{3, 33}, {85, 238}, {90, 250}, {120, 250}};
    for (auto c : cases) {
        game.Form_Load();
        m.lLives = 1000;
        for (int i = 0; i < c.crossings; ++i) {
            m.lTargetPos = 8200 - m.lTargetStep;
            game.UpdateFrame();
            ASSERT_EQ(m.lTargetPos, 8200);
            game.UpdateFrame();
        }
        EXPECT_EQ(m.lTargetStep, c.step) << c.crossings;
        EXPECT_EQ(m.lTargets, c.crossings);
    }
}

} // namespace
