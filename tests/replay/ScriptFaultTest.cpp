#include "ReplayRun.h"

#include "replay/ScriptRecorder.h"

#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

namespace {

// Six crossings without a hit, each from just before the far side: lines 1 to 12.
const QString kSixMisses = QStringLiteral("set lTargetPos 8200\ntick\n").repeated(6);

// Every refusal stops the driver with status 2 and one message on one line that begins by
// naming the script line at fault (or the file that cannot be read), with no control
// character of the script's own reaching the terminal. The first case shows the whole
// format; the others say only where and what.
TEST(ScriptFault, StopsTheDriverWithStatusTwoAndOneMessageNamingTheLine) {
    const QTemporaryDir directory;
    const struct {
        QString script;
        QString file; // read from this file instead of standard input
        QString fault;
    } cases[] = {
        {QStringLiteral("tick\n\n# comment\ntik\x1b[2J\n"),
         {},
         QStringLiteral("script line 4: unknown command \"tik\\x1b[2J\"")},
        {{}, directory.path(), QStringLiteral("cannot read ") + directory.path() + ':'},
        {{}, QStringLiteral("/nonexistent/game.txt"), QStringLiteral("cannot read /nonexistent/")},
        {QStringLiteral("set lBogus 1\n"), {}, QStringLiteral("script line 1: unknown variable")},
        {QStringLiteral("call Explode\n"), {}, QStringLiteral("script line 1: unknown operation")},
        {QStringLiteral("tick x\n"), {}, QStringLiteral("script line 1: malformed number")},
        {QStringLiteral("key 12a\n"), {}, QStringLiteral("script line 1: malformed number")},
        {QStringLiteral("set dScore nan\n"), {}, QStringLiteral("script line 1: malformed number")},
        {QStringLiteral("set lLives 2147483648\n"),
         {},
         QStringLiteral("script line 1: lLives is a Long (32-bit), which cannot hold")},
        {QStringLiteral("call DrawTarget 0\n"),
         {},
         QStringLiteral("script line 1: DrawTarget takes")},
        {QStringLiteral("tick 2 3\n"), {}, QStringLiteral("script line 1: expected \"tick [N]\"")},
        {QStringLiteral("extras -2\n"), {}, QStringLiteral("script line 1: extras cannot run")},
        {QStringLiteral("msgbox maybe\n"), {}, QStringLiteral("script line 1: expected \"msgbox")},
        {QStringLiteral("set bBeamAtTarget yes\n"),
         {},
         QStringLiteral("script line 1: bBeamAtTarget is true or false")},
        {QStringLiteral("key 70000\n"), {}, QStringLiteral("script line 1: key code 70000")},
        // The game's own arithmetic and its conversions to whole numbers.
        {QStringLiteral("tick\nset lTargets 2147483647\nset lTargetPos 8200\ntick\n"),
         {},
         QStringLiteral("script line 4: run-time error 6, Overflow")},
        {QStringLiteral("set sngSpeed 3e38\nset lTargetPos 8200\ntick\n"),
         {},
         QStringLiteral("script line 3: run-time error 6, Overflow")},
        {QStringLiteral("call DrawTarget 0 -2147483600\n"),
         {},
         QStringLiteral("script line 1: run-time error 6, Overflow")},
        {kSixMisses + QStringLiteral("tick\nclick\n"),
         {},
         QStringLiteral("script line 14: a message box opened with no answer queued")},
        {kSixMisses + QStringLiteral("set dScore 5000\ntick 3\n"),
         {},
         QStringLiteral("script line 14: an input box opened with no answer queued")},
        {QStringLiteral("tick\nmsgbox yes\ntick\n"),
         {},
         QStringLiteral("script line 2: no message box took this answer")},
        {QStringLiteral("input Bob\nmsgbox 6\n"),
         {},
         QStringLiteral("script line 1: no input box took this answer")},
        {QStringLiteral("at-yield 1 click\n"),
         {},
         QStringLiteral("script line 1: no event line followed")},
        {QStringLiteral("at-yield 2 click\ntick\n"),
         {},
         QStringLiteral("script line 1: line 2 did not yield 2 times")},
        {QStringLiteral("at-yield 1 dump\n"), {}, QStringLiteral("script line 1: at-yield holds")},
        {kSixMisses + QStringLiteral("at-yield 1 click\ntick\n"),
         {},
         QStringLiteral("script line 13: a message box opened with no answer queued")},
    };
    for (const auto& c : cases) {
        const ReplayRun run = c.file.isEmpty() ? ReplayRun(c.script) : ReplayRun::OfFile(c.file);
        EXPECT_EQ(run.exitCode, 2) << c.fault.toStdString();
        ASSERT_EQ(run.faults.size(), 1) << c.fault.toStdString();
        EXPECT_TRUE(run.faults[0].startsWith(c.fault)) << run.faults[0].toStdString();
        for (const QChar ch : run.faults[0])
            EXPECT_TRUE(ch.isPrint()) << run.faults[0].toStdString();
    }
}

TEST(ScriptFault, WhatRanBeforeTheFaultIsPrinted) {
    const ReplayRun run(QStringLiteral("dump\ncall GetPraiseText 150\ntok\ndump\n"));
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[0][QStringLiteral("line")].toInt(), 1);
    EXPECT_EQ(run.lines[1][QStringLiteral("result")].toString(), QStringLiteral("Yeah!"));
}

// A record is refused before the game when not even its first line can be written; when
// the disk fills up during the game, the recording stops, says so, and removes what it
// wrote, so no half-written record is left looking whole.
TEST(ScriptFault, ARecordThatCannotBeWrittenWholeIsNotKept) {
    EXPECT_THROW(ScriptRecorder("/dev/full"), std::runtime_error);

    const QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("game.txt")).toStdString();
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit full = before;
    full.rlim_cur = 1000;
    const auto signalBefore = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    ScriptRecorder recorder(path);
    for (int i = 0; i < 200; ++i) {
        recorder.BeginEvent("click");
        recorder.EndEvent();
    }
    recorder.Close();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, signalBefore);
    EXPECT_NE(recorder.WriteFault().find(path), std::string::npos) << recorder.WriteFault();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

} // namespace
