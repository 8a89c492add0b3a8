#include "GameFixture.h"

#include "view/Colour.h"

#include <QString>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using GameStartUp = GameTest;

TEST_F(GameStartUp, WindowEventsAndTimersReachTheirHandlers) {
    EXPECT_EQ(platform.bound, (std::vector<const Timer*>{&form.tmrState, &form.tmrExtras}));

    m.lGameState = 0;
    form.Load();
    EXPECT_EQ(m.lGameState, 1);

    bool focused = false;
    form.picFire.onSetFocus = [&] { focused = true; };
    form.Activate();
    EXPECT_TRUE(focused);

    form.picFire.Click();
    EXPECT_EQ(m.lGameState, 2);
    form.tmrState.OnTimer();
    EXPECT_EQ(m.lBeamLength, m.lBeamStep);
    EXPECT_EQ(platform.Yields(), 1);

    m.lGameState = 1;
    std::int16_t space = 32;
    form.picFire.KeyPress(space);
    EXPECT_EQ(m.lGameState, 2);

    m.lExtraPoints = 100;
    form.tmrExtras.OnTimer();
    EXPECT_EQ(m.lExtraPoints, 95);
}

TEST_F(GameStartUp, FormLoadStartsEveryGameAfresh) {
    struct Case {
        QString who;
        double best;
        QString highScoreCaption;
    };
    const std::vector<Case> cases = {
        {"Unknown", 1000, "Unknown 1,000 pts"},
        {"Ann", 12340, "Ann 12,340 pts"},
        {"Unknown", -1, "Unknown -1 pts"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.highScoreCaption.toStdString());
        // What the last game left behind.
        m.lGameState = 3;
        m.dScore = 5000;
        m.lLives = -1;
        m.lHits = 7;
        m.lTargets = 9;
        m.sTypedKeys = "quo";
        m.sngSpeed = 3.3F;
        m.lTargetStep = 83;
        m.lTargetPos = 4000;
        m.lTargetStyle = 1;
        m.lBeamLength = 0;
        m.lExtraPoints = 800;
        m.lStage = 8;
        m.lMessageTicks = 12;
        m.lLastHitPoints = 312;
        form.tmrState.SetEnabled(false);
        form.tmrState.SetInterval(40);
        form.tmrExtras.SetEnabled(false);
        form.lblExtraIndicator[4].SetBackColor(RGB(0, 255, 0));
        form.picExplosion.SetVisible(true);
        form.imgDevice.SetTop(200);
        form.picGZone.Print("GAME OVER");
        highScores.who = c.who;
        highScores.best = c.best;

        game.Form_Load();

        EXPECT_EQ(m.lGameState, 1);
        EXPECT_EQ(m.sngSpeed, 1.0F);
        EXPECT_EQ(m.lTargetStep, 25);
        EXPECT_EQ(m.lTargetPos, 0);
        EXPECT_EQ(m.lTargetStyle, 0);
        EXPECT_EQ(m.lBeamLength, -1);
        EXPECT_EQ(form.tmrState.Interval(), 25);
        EXPECT_TRUE(form.tmrState.Enabled());
        EXPECT_TRUE(form.tmrExtras.Enabled());
        EXPECT_EQ(m.dScore, 0);
        EXPECT_EQ(form.lblScore.Caption(), "0");
        EXPECT_EQ(m.sHighScoreWho, c.who);
        EXPECT_EQ(m.dHighScore, c.best);
        EXPECT_EQ(form.lblHighScore.Caption(), c.highScoreCaption);
        EXPECT_EQ(m.lLives, 5);
        EXPECT_EQ(m.sTypedKeys, "");
        EXPECT_EQ(m.lHits, 0);
        EXPECT_EQ(m.lTargets, 0);
        EXPECT_EQ(form.lblStat.Caption(), "0 of 0");
        EXPECT_EQ(form.lblLives.Caption(), "5");
        EXPECT_EQ(m.lExtraPoints, 0);
        EXPECT_EQ(m.lStage, 0);
        EXPECT_EQ(Lamps(), "----------");
        EXPECT_EQ(form.lblExtras.Caption(), "Hit targets to upgrade device!");
        EXPECT_EQ(m.lBeamStep, 125);
        // Left alone: the rest of a hit message carries over, and the game-over screen stays
        // until the first tick clears the field.
        EXPECT_EQ(m.lMessageTicks, 12);
        EXPECT_EQ(m.lLastHitPoints, 312);
        EXPECT_TRUE(form.picExplosion.Visible());
        EXPECT_EQ(form.imgDevice.Top(), 200);
        EXPECT_EQ(form.picGZone.Drawing().size(), 1U);
        form.picGZone.Cls();
    }
}

TEST_F(GameStartUp, CodeWordSwitchesOnTheHiddenModeOnlyWhenTypedAloneSinceTheLastSpace) {
    struct Case {
        const char* what;
        QString typed;
        bool hidden;
    };
    const std::vector<Case> cases = {
        {"small letters", "quorly", true},
        {"capitals", "QUORLY", true},
        {"mixed case", "qUoRlY", true},
        {"a stray letter first", "xquorly", false},
        {"a stray letter, then a space", "x quorly", true},
        {"Enter first", "\rquorly", false},
        {"a typo mended with Backspace", "quorlx\by", false},
        {"cut short", "quorl", false},
        {"split by a space", "quo rly", false},
        {"typed again after a match", "quorlyquorly", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game.Form_Load();
        // While a shot is under way a space fires nothing, so only the code word is at work.
        m.lGameState = 2;
        for (const QChar ch : c.typed) {
            auto code = static_cast<std::int16_t>(ch.unicode());
            game.picFire_KeyPress(code);
        }
        EXPECT_EQ(m.lLives, c.hidden ? 10 : 5);
        EXPECT_EQ(m.lExtraPoints, c.hidden ? 1500 : 0);
        EXPECT_EQ(m.sngSpeed, c.hidden ? 5.0F : 1.0F);
        if (c.hidden) {
            EXPECT_EQ(m.sTypedKeys, "");
        }
        // Nothing shows until the next refresh of the labels.
        EXPECT_EQ(form.lblLives.Caption(), "5");
        EXPECT_EQ(m.lStage, 0);
    }

    // The end of the crossing shows it: lives, stage 10 and the speed of 5.1 in Single.
    m.lGameState = 1;
    m.lTargetPos = 8200;
    Tick();
    EXPECT_EQ(form.lblLives.Caption(), "9");
    EXPECT_EQ(m.lStage, 10);
    EXPECT_EQ(m.lExtraPoints, 1050);
    EXPECT_EQ(m.lTargetStep, 127);
}

TEST_F(GameStartUp, SpaceFiresInEveryStateAndClearsTheTypedKeysWhileEnterDoesNot) {
    struct Case {
        const char* what;
        Long state;
        std::int16_t key;
        Long stateAfter;
        QString typedAfter;
        std::size_t dialogs;
    };
    const std::vector<Case> cases = {
        {"space while aiming fires", 1, 32, 2, "", 0},
        {"space during a shot changes nothing", 2, 32, 2, "", 0},
        {"space after the game asks to play again", 3, 32, 3, "", 1},
        {"Enter does not fire", 1, 13, 1, "ab\r", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform.TakeDialogs();
        m.lGameState = c.state;
        m.sTypedKeys = "ab";
        if (c.dialogs > 0)
            platform.QueueMsgBoxAnswer(Platform::vbCancel);
        std::int16_t key = c.key;
        game.picFire_KeyPress(key);
        EXPECT_EQ(key, c.key);
        EXPECT_EQ(m.lGameState, c.stateAfter);
        EXPECT_EQ(m.sTypedKeys, c.typedAfter);
        EXPECT_EQ(platform.Dialogs().size(), c.dialogs);
    }
}

TEST_F(GameStartUp, PlayAgainQuestionStartsANewGameEndsTheProgramOrDoesNothing) {
    struct Case {
        const char* what;
        int answer;
        bool ends;
        Long stateAfter;
        bool timersOn;
    };
    const std::vector<Case> cases = {
        {"Yes", Platform::vbYes, false, 1, true},
        {"Cancel", Platform::vbCancel, false, 3, false},
        {"No", Platform::vbNo, true, 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game.Form_Load();
        m.dScore = 300;
        m.lLives = -1;
        m.lGameState = 3;
        Tick();
        ASSERT_FALSE(form.tmrState.Enabled());
        const auto screen = form.picGZone.Drawing();
        platform.TakeDialogs();

        platform.QueueMsgBoxAnswer(c.answer);
        if (c.ends)
            EXPECT_THROW(game.picFire_Click(), ProgramEnded);
        else
            game.picFire_Click();

        ASSERT_EQ(platform.Dialogs().size(), 1U);
        EXPECT_EQ(platform.Dialogs()[0].kind, ScriptedPlatform::Dialog::Kind::MsgBox);
        EXPECT_EQ(platform.Dialogs()[0].prompt, "Want to play again?");
        EXPECT_EQ(platform.Dialogs()[0].style, 547);
        EXPECT_EQ(platform.Dialogs()[0].title, "Varnoth");
        EXPECT_EQ(platform.HasEnded(), c.ends);
        EXPECT_EQ(m.lGameState, c.stateAfter);
        EXPECT_EQ(form.tmrState.Enabled(), c.timersOn);
        EXPECT_EQ(form.tmrExtras.Enabled(), c.timersOn);
        EXPECT_EQ(m.lLives, c.answer == Platform::vbYes ? 5 : -1);
        // The game-over screen stays until a new game's first tick clears the field.
        EXPECT_EQ(form.picGZone.Drawing().size(), screen.size());

        if (c.answer == Platform::vbCancel) {
            // The question can be asked again and again.
            platform.QueueMsgBoxAnswer(Platform::vbCancel);
            game.picFire_Click();
            EXPECT_EQ(platform.Dialogs().size(), 2U);
            EXPECT_EQ(m.lGameState, 3);
        }
    }
}

TEST_F(GameStartUp, ExtrasTimerDrainsTheMeterFasterAtHigherStagesButNeverBelowZero) {
    struct Case {
        Long stage;
        Long meter;
        Long after;
    };
    const std::vector<Case> cases = {
        {0, 3, 0},  {0, 5, 0},    {0, 100, 95},     {1, 100, 93},
        {5, 14, 0}, {5, 100, 85}, {10, 1050, 1025},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << " meter " << c.meter);
        m.lStage = c.stage;
        m.lExtraPoints = c.meter;
        game.tmrExtras_Timer();
        EXPECT_EQ(m.lExtraPoints, c.after);
        EXPECT_EQ(m.lStage, c.stage);
    }
}
