#include "ReplayRun.h"

#include <gtest/gtest.h>

namespace {

// Six crossings without a hit, each from just before the far side: lines 1 to 12.
const QString kSixMisses = QStringLiteral("set lTargetPos 8200\ntick\n").repeated(6);

TEST(ScriptFault, StopsTheDriverWithStatusTwoAndOneMessageNamingTheLine) {
    const struct {
        QString script;
        const char* fault;
    } cases[] = {
        {QStringLiteral("tick\n\n# comment\ntik 3\n"), "script line 4: unknown command \"tik\""},
        {QStringLiteral("set lBogus 1\n"), "script line 1: unknown variable \"lBogus\""},
        {QStringLiteral("call Explode\n"), "script line 1: unknown operation \"Explode\""},
        {QStringLiteral("tick x\n"), "script line 1: malformed number \"x\""},
        {QStringLiteral("key 12a\n"), "script line 1: malformed number \"12a\""},
        {QStringLiteral("set sngSpeed 1.5.2\n"), "script line 1: malformed number \"1.5.2\""},
        {QStringLiteral("set dScore nan\n"), "script line 1: malformed number \"nan\""},
        {QStringLiteral("set lLives 3000000000\n"),
         "script line 1: malformed number \"3000000000\""},
        {QStringLiteral("call DrawTarget 0 41x2\n"), "script line 1: malformed number \"41x2\""},
        {QStringLiteral("call DrawTarget 0\n"), "script line 1: DrawTarget takes 2 numbers"},
        {QStringLiteral("tick 2 3\n"), "script line 1: expected \"tick [N]\", not \"tick 2 3\""},
        {QStringLiteral("extras -2\n"), "script line 1: extras cannot run -2 times"},
        {QStringLiteral("msgbox maybe\n"),
         "script line 1: expected \"msgbox 6|7|2 (or yes, no, cancel)\", not \"msgbox maybe\""},
        {QStringLiteral("set bBeamAtTarget yes\n"),
         "script line 1: bBeamAtTarget is true or false, not \"yes\""},
        {QStringLiteral("key 70000\n"), "script line 1: key code 70000 is not 16-bit"},
        {kSixMisses + QStringLiteral("tick\nclick\n"),
         "script line 14: a message box opened with no answer queued: Want to play again?"},
        {kSixMisses + QStringLiteral("set dScore 5000\ntick 3\n"),
         "script line 14: an input box opened with no answer queued: Congratulations! You have "
         "set a new highscore! Please enter your name:"},
        {QStringLiteral("tick\nmsgbox yes\ntick\n"),
         "script line 2: no message box took this answer"},
        {QStringLiteral("input Bob\nmsgbox 6\n"), "script line 1: no input box took this answer"},
        {QStringLiteral("at-yield 1 click\n"),
         "script line 1: no event line followed to yield to it"},
        {QStringLiteral("at-yield 2 click\ntick\n"), "script line 1: line 2 did not yield 2 times"},
        {QStringLiteral("at-yield 1 dump\n"),
         "script line 1: at-yield holds tick, extras, click, key or type, not \"dump\""},
        {kSixMisses + QStringLiteral("at-yield 1 click\ntick\n"),
         "script line 13: a message box opened with no answer queued: Want to play again?"},
    };
    for (const auto& c : cases) {
        const ReplayRun run(c.script);
        EXPECT_EQ(run.exitCode, 2) << c.fault;
        EXPECT_EQ(run.faults, QStringList{QString::fromUtf8(c.fault)})
            << run.faults.join('\n').toStdString();
    }
}

TEST(ScriptFault, WhatRanBeforeTheFaultIsPrinted) {
    const ReplayRun run(QStringLiteral("dump\ncall GetPraiseText 150\ntok\ndump\n"));
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[0][QStringLiteral("line")].toInt(), 1);
    EXPECT_EQ(run.lines[1][QStringLiteral("result")].toString(), QStringLiteral("Yeah!"));
}

TEST(ScriptFault, AScriptThatCannotBeReadIsNamed) {
    const ReplayRun run = ReplayRun::OfFile(QStringLiteral("/nonexistent/game.txt"));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.faults, QStringList{QStringLiteral("cannot read /nonexistent/game.txt")});
}

} // namespace
