#include "GameFixture.h"

#include "view/Colour.h"

#include <QLocale>
#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

using GameStateMachine = GameTest;

namespace {
constexpr float kFieldMiddle = 7815.0F / 2;
}

TEST_F(GameStateMachine, FireCommandsAndTicksMoveTheMachineBetweenAimingAndShooting) {
    enum class Action { Click, Tick };
    struct Case {
        const char* what;
        Action action;
        Long state;
        Long beam;
        bool atTarget;
        Long shotPoints;
        Long stateAfter;
        Long beamAfter;
        Long hitsAfter;
        double deviceTopAfter;
    };
    const std::vector<Case> cases = {
        {"a click while aiming fires", Action::Click, 1, -1, false, 0, 2, -1, 0, 360},
        {"a click during a shot changes nothing", Action::Click, 2, 500, false, 0, 2, 500, 0, 360},
        {"the first tick launches the beam", Action::Tick, 2, -1, false, 0, 2, 125, 0, 140},
        {"a spent beam returns to aiming", Action::Tick, 2, 0, true, 0, 1, -1, 0, 360},
        {"the line reached but no target", Action::Tick, 2, 2600, true, 0, 2, 2725, 0, 360},
        {"a target but the line not reached", Action::Tick, 2, 2000, false, 500, 2, 2125, 0, 360},
        {"line and target: a hit", Action::Tick, 2, 2600, true, 250, 1, -1, 1, 360},
        {"no such state", Action::Tick, 0, 2600, true, 250, 0, 2600, 0, 360},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game.Form_Load();
        form.picGZone.Cls();
        form.imgDevice.SetTop(360);
        const int yields = platform.Yields();
        m.lGameState = c.state;
        m.lBeamLength = c.beam;
        m.bBeamAtTarget = c.atTarget;
        m.lShotPoints = c.shotPoints;
        // Far from the beam, so the frame finds nothing to hit.
        m.lTargetPos = 1000;
        if (c.action == Action::Click)
            game.picFire_Click();
        else
            Tick();
        EXPECT_EQ(m.lGameState, c.stateAfter);
        EXPECT_EQ(m.lBeamLength, c.beamAfter);
        EXPECT_EQ(m.lHits, c.hitsAfter);
        EXPECT_EQ(m.lLives, 5);
        EXPECT_EQ(form.imgDevice.Top(), c.deviceTopAfter);
        EXPECT_EQ(platform.Yields() - yields, c.action == Action::Tick ? 1 : 0);
    }
}

TEST_F(GameStateMachine, HitScoresAndEndsTheCrossingWithoutCostingALife) {
    m.dScore = 12090;
    m.lLives = 3;
    m.lGameState = 2;
    m.lBeamLength = 2600;
    m.bBeamAtTarget = true;
    m.lShotPoints = 250;
    m.lTargetPos = 4300;
    std::vector<QString> statCaptions;
    form.lblStat.onChange = [&](const QRectF&) { statCaptions.push_back(form.lblStat.Caption()); };

    Tick();

    EXPECT_EQ(m.dScore, 12340);
    EXPECT_EQ(form.lblScore.Caption(), "12,340");
    EXPECT_EQ(m.lHits, 1);
    EXPECT_EQ(m.lLastHitPoints, 250);
    EXPECT_EQ(form.picExplosion.Left(), 3900);
    EXPECT_TRUE(form.picExplosion.Visible());
    // The same tick's frame ended the crossing: counted, the life given back taken again.
    EXPECT_EQ(m.lTargets, 1);
    EXPECT_EQ(m.lLives, 3);
    EXPECT_EQ(m.lTargetPos, 0);
    EXPECT_EQ(m.lGameState, 1);
    EXPECT_EQ(m.lBeamLength, -1);
    // For a moment the hit counts against the old number of targets.
    ASSERT_FALSE(statCaptions.empty());
    EXPECT_EQ(statCaptions.front(), "1 of 0");
    EXPECT_EQ(form.lblStat.Caption(), "1 of 1 (100%)");
    // 120 of the points fill the meter.
    EXPECT_EQ(m.lExtraPoints, 120);
    EXPECT_EQ(m.lStage, 1);

    // The message shows on 60 frames from the hit's own; the explosion goes with the last.
    for (int frame = 1; frame <= 61; ++frame) {
        SCOPED_TRACE(frame);
        if (frame > 1)
            Tick();
        const auto texts = OpsOf(form.picGZone, DrawOp::Kind::Text);
        if (frame <= 60) {
            ASSERT_EQ(texts.size(), 1U);
            EXPECT_EQ(texts[0].text, "Great, dude! 250 pts");
        } else {
            EXPECT_TRUE(texts.empty());
        }
        EXPECT_EQ(m.lMessageTicks, std::max(60 - frame, 0));
        EXPECT_EQ(form.picExplosion.Visible(), frame < 60);
    }
}

TEST_F(GameStateMachine, GameOverTickStopsTheClockAndCentresTheTexts) {
    highScores.best = 20000;
    game.Form_Load();
    m.dScore = 12340;
    m.lTargetPos = 5000;
    m.lGameState = 3;
    form.picExplosion.SetVisible(true);
    form.picGZone.Print("old frame");
    std::optional<std::size_t> opsAtYield;
    platform.onDoEvents = [&] {
        if (!opsAtYield) {
            opsAtYield = form.picGZone.Drawing().size();
            EXPECT_FALSE(form.tmrState.Enabled());
            EXPECT_FALSE(form.tmrExtras.Enabled());
            EXPECT_FALSE(form.picExplosion.Visible());
        }
    };
    const int yields = platform.Yields();

    Tick();

    EXPECT_EQ(opsAtYield, 0U);
    EXPECT_EQ(platform.Yields() - yields, 2);
    const auto texts = OpsOf(form.picGZone, DrawOp::Kind::Text);
    ASSERT_EQ(texts.size(), 2U);
    EXPECT_EQ(form.picGZone.Drawing().size(), 2U);

    struct Line {
        QString text;
        double size;
        float y;
    };
    const Line expected[] = {{"GAME OVER", 30, 1250}, {"Score: 12,340 points", 12, 2300}};
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(expected[i].text.toStdString());
        form.picGZone.SetFontSize(expected[i].size);
        const float width = form.picGZone.TextWidth(expected[i].text);
        EXPECT_EQ(texts[i].text, expected[i].text);
        EXPECT_EQ(texts[i].font.Size, expected[i].size);
        EXPECT_TRUE(texts[i].font.Bold);
        EXPECT_EQ(texts[i].font.Name, "Verdana");
        EXPECT_EQ(texts[i].color, RGB(0, 0, 0));
        EXPECT_EQ(texts[i].y1, expected[i].y);
        EXPECT_GT(width, 1000);
        EXPECT_EQ(texts[i].x1, kFieldMiddle - width / 2);
    }
    // Nothing moves and nothing is asked: 12,340 is no new best.
    EXPECT_EQ(m.lTargetPos, 5000);
    EXPECT_EQ(m.lGameState, 3);
    EXPECT_TRUE(platform.Dialogs().empty());
}

TEST_F(GameStateMachine, NewBestScoreAsksForANameOfAtMostTwentyCharacters) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    struct Case {
        const char* what;
        double score;
        double best;
        std::optional<QString> answer;
        QString whoAfter;
        double bestAfter;
        QString label;
    };
    const std::vector<Case> cases = {
        {"a short name", 12340, 1000, "Ann", "Ann", 12340, "Ann 12,340 pts"},
        {"25 characters keep the first 20", 12340, 1000, "Abcdefghijklmnopqrstuvwxy",
         "Abcdefghijklmnopqrst", 12340, "Abcdefghijklmnopqrst 12,340 pts"},
        {"exactly 20 are kept whole", 1001, 1000, "Abcdefghijklmnopqrst", "Abcdefghijklmnopqrst",
         1001, "Abcdefghijklmnopqrst 1,001 pts"},
        {"a wide character counts as one", 2000, 1000, QString(19, u'a') + emoji + "b",
         QString(19, u'a') + emoji, 2000, QString(19, u'a') + emoji + " 2,000 pts"},
        {"an empty answer records nothing", 12340, 1000, "", "Unknown", 1000, "Unknown 1,000 pts"},
        {"an equal score asks nothing", 1000, 1000, std::nullopt, "Unknown", 1000,
         "Unknown 1,000 pts"},
        {"a lower score asks nothing", 500, 1000, std::nullopt, "Unknown", 1000,
         "Unknown 1,000 pts"},
        {"after a failed read any game is a best", 0, -1, "Bo", "Bo", 0, "Bo 0 pts"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        highScores = MemoryHighScores();
        highScores.best = c.best;
        game.Form_Load();
        platform.TakeDialogs();
        m.dScore = c.score;
        m.lGameState = 3;
        if (c.answer)
            platform.QueueInputAnswer(*c.answer);

        Tick();

        if (c.answer) {
            ASSERT_EQ(platform.Dialogs().size(), 1U);
            const auto& box = platform.Dialogs()[0];
            EXPECT_EQ(box.kind, ScriptedPlatform::Dialog::Kind::InputBox);
            EXPECT_EQ(box.prompt, "Congratulations! You have set a new highscore!\r\n\r\n"
                                  "Please enter your name:");
            EXPECT_EQ(box.title, "Varnoth");
            EXPECT_EQ(box.defaultText, "Unknown");
        } else {
            EXPECT_TRUE(platform.Dialogs().empty());
        }
        EXPECT_EQ(m.sHighScoreWho, c.whoAfter);
        EXPECT_EQ(m.dHighScore, c.bestAfter);
        EXPECT_EQ(form.lblHighScore.Caption(), c.label);
        if (c.bestAfter != c.best) {
            ASSERT_EQ(highScores.saved.size(), 1U);
            EXPECT_EQ(highScores.saved[0].first, c.whoAfter);
            EXPECT_EQ(highScores.saved[0].second, c.score);
        } else {
            EXPECT_TRUE(highScores.saved.empty());
        }
    }
}

TEST_F(GameStateMachine, ScoresFollowTheLocalesGroupSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    highScores.who = "Ann";
    highScores.best = 12340;
    game.Form_Load();
    EXPECT_EQ(form.lblHighScore.Caption(), "Ann 12.340 pts");

    m.dScore = 12000;
    m.lGameState = 2;
    m.lBeamLength = 2600;
    m.bBeamAtTarget = true;
    m.lShotPoints = 1000;
    Tick();
    EXPECT_EQ(form.lblScore.Caption(), "13.000");
    EXPECT_EQ(OpsOf(form.picGZone, DrawOp::Kind::Text).at(0).text, "DIRECT HIT!!! 1.000 pts");

    m.lGameState = 3;
    platform.QueueInputAnswer("Bo");
    Tick();
    EXPECT_EQ(OpsOf(form.picGZone, DrawOp::Kind::Text).at(1).text, "Score: 13.000 points");
    EXPECT_EQ(form.lblHighScore.Caption(), "Bo 13.000 pts");
}
