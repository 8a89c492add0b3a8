// The replay driver end to end. Every script in scenarios/ is one flow of the game, played
// through varnoth-replay, with what its run must show written under the dump that prints it:
//
//   #= record {"lLives":5}          a value at a path; an object names only the members that
//   #= {"record":{"lLives":5}}      matter, at any depth, and a list as long as the one shown
//   #= picGZone[-1].text "Hit,"     an index from the end when negative; [{}] pins a length
//   #! args --locale de_DE          arguments for varnoth-replay before the script's name
//
// Then the driver's refusals, the recorder's rules, and a game recorded through the window's
// events replayed headless.
#include "ReplayPaths.h"

#include "game/VarnothForm.h"
#include "game/frmVarnoth.h"
#include "main/Game.h"
#include "replay/RecordingPlatform.h"
#include "replay/ScriptRecorder.h"
#include "replay/ScriptedPlatform.h"
#include "replay/StateDump.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

// One run of varnoth-replay with a store of its own and the script on standard input: the
// JSON objects it printed, and its own messages with any other line it printed.
struct Replayed {
    int status = -1;
    std::vector<QJsonObject> lines;
    QStringList faults;
};

Replayed replay(const QString& script, const QStringList& arguments = {}) {
    const QTemporaryDir store;
    qputenv("VARNOTH_REGISTRY", store.filePath("store.db").toUtf8()); // for the driver
    QProcess process;
    process.start(kReplayProgram, arguments);
    process.write(script.toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(60000);
    Replayed run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    static const QRegularExpression own("^varnoth-replay: ");
    run.faults = QString::fromUtf8(process.readAllStandardError()).split('\n').filter(own);
    run.faults.replaceInStrings(own, {});
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QJsonDocument json = QJsonDocument::fromJson(line);
        // JSON holds no raw control characters, though Qt's reader lets them pass.
        if (json.isObject() &&
            std::none_of(line.begin(), line.end(), [](char c) { return uchar(c) < 0x20; }))
            run.lines.push_back(json.object());
        else if (!line.isEmpty())
            run.faults += QString::fromUtf8(line);
    }
    return run;
}

QJsonValue at(QJsonValue value, const QString& path) {
    static const QRegularExpression step(R"((\w+)|\[(-?\d+)\])");
    for (auto steps = step.globalMatch(path); steps.hasNext();) {
        const auto m = steps.next();
        const qsizetype i = m.captured(2).toLongLong();
        value =
            m.hasCaptured(1) ? value[m.captured(1)] : value[i < 0 ? value.toArray().size() + i : i];
    }
    return value;
}

// What of `seen` the expectation `want` names.
QJsonValue named(const QJsonValue& seen, const QJsonValue& want) {
    if (want.isObject() && seen.isObject()) {
        QJsonObject members;
        for (const QString& key : want.toObject().keys())
            members[key] = named(seen[key], want[key]);
        return members;
    }
    if (!want.isArray() || !seen.isArray() || seen.toArray().size() != want.toArray().size())
        return seen;
    QJsonArray items;
    for (qsizetype i = 0; i < seen.toArray().size(); ++i)
        items.append(named(seen[i], want[i]));
    return items;
}

class Scenario : public ::testing::TestWithParam<const char*> {};

TEST_P(Scenario, PlaysAsWritten) {
    QFile file(QDir(kScenarioDir).filePath(GetParam() + QString(".txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QStringList lines = text.split('\n');
    static const QRegularExpression args("^#! args (.*)", QRegularExpression::MultilineOption);
    QStringList arguments = args.match(text).captured(1).split(' ', Qt::SkipEmptyParts);
    const Replayed run = replay({}, arguments << file.fileName());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.faults.join('\n').toStdString(), "");
    static const QRegularExpression expectation(R"(^#= (?:(\w\S*) )?(.*))");
    std::size_t printed = 0; // the lines printed by the dumps and calls so far
    for (int n = 0; n < lines.size(); ++n) {
        printed += lines[n].startsWith("dump") || lines[n].startsWith("call ");
        const auto m = expectation.match(lines[n]);
        if (!m.hasMatch())
            continue;
        const QJsonArray want = QJsonDocument::fromJson('[' + m.captured(2).toUtf8() + ']').array();
        ASSERT_TRUE(printed > 0 && printed <= run.lines.size() && want.size() == 1)
            << "line " << n + 1 << ": nothing printed, or no one JSON value";
        const QJsonValue seen = named(at(run.lines[printed - 1], m.captured(1)), want[0]);
        EXPECT_TRUE(seen == want[0])
            << "line " << n + 1
            << ", seen and expected: " << QJsonDocument(QJsonArray{seen, want[0]}).toJson().data();
    }
    EXPECT_EQ(printed, run.lines.size()) << "lines printed, for the dumps and calls";
}

INSTANTIATE_TEST_SUITE_P(Varnoth, Scenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param); });

// Six crossings without a hit, each from just before the far side: lines 1 to 12.
const QString kSixMisses = QString("set lTargetPos 8200\ntick\n").repeated(6);

// A faulty script stops the driver with status 2 and one message on one line that begins by
// naming the script line at fault, or the file that cannot be read, with no control character
// of the script's own reaching the terminal; what ran before the fault is printed.
TEST(ReplayFault, StopsTheDriverWithStatusTwoAndOneMessageNamingTheLine) {
    const struct {
        QString script, fault;
        const char* file = nullptr; // read instead of standard input
    } cases[] = {
        {"dump\r\n\n  # comment\ntik\x1b[2J\x7f\u0085\n",
         "script line 4: unknown command \"tik\\x1b[2J\\x7f\\xc2\\x85\""},
        {"t\\€😀\n", "script line 1: unknown command \"t\\\\€😀\""},
        {"set nope 1\n", "script line 1: unknown variable \"nope\""},
        {"call Nope 1\n", "script line 1: unknown operation \"Nope\""},
        {"at-yield 1 msgbox yes\n",
         "script line 1: at-yield holds tick, extras, click, key or type, not \"msgbox\""},
        {"at-yield 1 click\n", "script line 1: no event line followed to yield to it"},
        {"input Ann\n", "script line 1: no input box took this answer"},
        {"", "cannot read /: ", "/"},
        {"", "cannot read /nonexistent/", "/nonexistent/game.txt"},
        {"key\n", "script line 1: expected \"key CODE\""},
        {"set sTypedKeys a\"\\b\ndump\nbad\n", "script line 3: unknown command \"bad\""},
        // The game's own arithmetic and its conversions to whole numbers.
        {"set lTargets 2147483647\nset lTargetPos 8200\ntick\n", "script line 3: run-time error 6"},
        {"set sngSpeed 3e38\nset lTargetPos 8200\ntick\n", "script line 3: run-time error 6"},
        {"call DrawTarget 0 -2147483600\n", "script line 1: run-time error 6, Overflow"},
        {"set lStage 1073741824\nextras\n", "script line 2: run-time error 6"},
        // A beam of every period there is runs far off the field, where nothing is kept.
        {"set lBeamLines 2147483647\ncall DrawBeam 0\n", "script line 2: run-time error 6"},
        {kSixMisses + "set dScore 5000\ntick 3\n",
         "script line 14: an input box opened with no answer queued"},
        {kSixMisses + "at-yield 1 click\ntick\n",
         "script line 13: a message box opened with no answer queued"},
        {"tick\nmsgbox yes\ntick\n", "script line 2: no message box took this answer"},
        {"at-yield 2 click\ntick\n", "script line 1: line 2 did not yield 2 times"},
    };
    for (const auto& c : cases) {
        const Replayed run = replay(c.script, c.file ? QStringList{c.file} : QStringList());
        const std::string fault = run.faults.join('\n').toStdString();
        EXPECT_EQ(run.status, 2) << fault;
        ASSERT_EQ(run.faults.size(), 1) << fault;
        EXPECT_TRUE(run.faults[0].startsWith(c.fault)) << fault;
        EXPECT_EQ(run.faults[0].indexOf(QRegularExpression("[\\x00-\\x1f\\x7f-\\x9f]")), -1)
            << fault;
        EXPECT_EQ(run.lines.size(), c.script.count("dump")) << fault;
    }
}

// Every number a script takes, at both ends of what it may be and one past each, and the words
// for true and false: a value taken is the value the game then holds.
TEST(ReplayFault, EveryNumberIsTakenUpToBothEndsOfItsRangeAndNoFurther) {
    // The largest Single, as the dump writes it: the shortest text that reads back as it.
    const double kSingle = 3.4028235e38, kDouble = std::numeric_limits<double>::max();
    const struct {
        QString line;
        const char* fault;          // the message of a line refused, or
        const char* path = nullptr; // what to read in the dump that follows a line taken
        QJsonValue held = {};
    } cases[] = {
        {"set lLives -2147483648", nullptr, "record.lLives", -2147483648.0},
        {"set lLives 2147483647", nullptr, "record.lLives", 2147483647.0},
        {"set lLives -2147483649", "lLives is a Long (32-bit), which cannot hold -2147483649"},
        {"set lLives 2147483648", "lLives is a Long (32-bit), which cannot hold 2147483648"},
        {"set sngSpeed -3.4028235e38", nullptr, "record.sngSpeed", -kSingle},
        {"set sngSpeed 3.4028235e38", nullptr, "record.sngSpeed", kSingle},
        {"set sngSpeed -3.5e38", "sngSpeed is a Single, which cannot hold -3.5e38"},
        {"set sngSpeed 3.5e38", "sngSpeed is a Single, which cannot hold 3.5e38"},
        {"set dScore -1.7976931348623157e308", nullptr, "record.dScore", -kDouble},
        {"set dScore 1.7976931348623157e308", nullptr, "record.dScore", kDouble},
        {"set dScore -1.8e308", "dScore is a Double, which cannot hold -1.8e308"},
        {"set dScore 1.8e308", "dScore is a Double, which cannot hold 1.8e308"},
        {"key -32768", nullptr, "record.sTypedKeys", QString(QChar(0x8000))},
        {"key 65535", nullptr, "record.sTypedKeys", QString(QChar(0xFFFF))},
        {"key -32769", "key code -32769 is not 16-bit"},
        {"key 65536", "key code 65536 is not 16-bit"},
        {"tick 0", nullptr, "record.lTargetPos", 0},
        {"tick -1", "tick cannot run -1 times"},
        {"tick 1 2", "expected \"tick [N]\", not \"tick 1 2\""},
        {"set lExtraPoints 500\nextras 0", nullptr, "record.lExtraPoints", 500},
        {"extras -1", "extras cannot run -1 times"},
        {"at-yield 1 key 65\ntick", nullptr, "record.sTypedKeys", "A"},
        {"at-yield 0 key 65", "yields count from 1, not 0"},
        {"call UpdateStage -2147483648", nullptr, "record.lExtraPoints", 0},
        {"call UpdateStage 2147483647", nullptr, "record.lExtraPoints", 120},
        {"call UpdateStage 2147483648",
         "UpdateStage's argument is a Long (32-bit), which cannot hold 2147483648"},
        {"call UpdateStage", "UpdateStage takes 1 number"},
        {"set bBeamAtTarget true", nullptr, "record.bBeamAtTarget", true},
        {"set bBeamAtTarget 1", "bBeamAtTarget is true or false, not \"1\""},
        {"set lLives 5 5", "expected \"set NAME VALUE\", not \"set lLives 5 5\""},
        {"set sngSpeed 1e", "malformed number \"1e\""},
        {"msgbox 8", "expected \"msgbox 6|7|2 (or yes, no, cancel)\", not \"msgbox 8\""},
    };
    for (const auto& c : cases) {
        const Replayed run = replay(c.line + "\ndump\n");
        const std::string line = c.line.toStdString();
        if (c.fault) {
            EXPECT_EQ(run.faults, QStringList(QString("script line 1: ") + c.fault)) << line;
            continue;
        }
        ASSERT_FALSE(run.lines.empty()) << line << ": " << run.faults.join('\n').toStdString();
        EXPECT_EQ(at(run.lines.back(), c.path), c.held) << line;
    }
}

// A record is refused before the game when not even its first line can be written; when
// the disk fills up during the game, the recording stops, says so, and removes what it
// wrote, so no half-written record is left looking whole.
TEST(ReplayFault, ARecordThatCannotBeWrittenWholeIsNotKept) {
    EXPECT_THROW(ScriptRecorder("/dev/full"), std::runtime_error);
    const QTemporaryDir dir;
    const std::string path = dir.filePath("game.txt").toStdString();
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const rlimit full{1000, before.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    ScriptRecorder recorder(path);
    for (int i = 0; i < 200; ++i)
        recorder.answer("msgbox 6");
    setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_NE(recorder.writeFault().find(path), std::string::npos) << recorder.writeFault();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

const QString kHeader = "# Varnoth game record: replay with varnoth --replay or varnoth-replay\n";

QString readScript(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// What the game tells the recorder, "|" between calls: "+LINE" an event begins, "-" it ends,
// "?LINE" a dialog was answered, "~" the game yields, "!" the program ends where it stands.
TEST(ScriptRecorder, WritesTheScriptThatReplaysWhatHappened) {
    const struct {
        const char* calls;
        const char* script;
    } cases[] = {
        {"+tick|-|+tick|-|+extras|-|+tick|-", "tick 2\nextras\ntick\n"},
        {"+click|?msgbox 2|-|?input", "msgbox 2\nclick\ninput\n"},
        {"+tick|~|+key 32|?msgbox 6|-|-", "tick\nmsgbox 6\nkey 32\n"},
        {"+tick|~|+click|?msgbox 6|-|?input Ann|~|-",
         "msgbox 6\nat-yield 1 click\ninput Ann\ntick\n"},
        {"+tick|~|+click|?msgbox 7|!", "msgbox 7\nat-yield 1 click\ntick\n"},
        {"+tick|-|+click|?msgbox 7|!", "tick\nmsgbox 7\nclick\n"},
        {"+tick|~|+tick|-|~|-", "at-yield 1 tick\ntick\n"},
    };
    for (const auto& c : cases) {
        const QTemporaryDir dir;
        const QString path = dir.filePath("game.txt");
        auto recorder = std::make_unique<ScriptRecorder>(path.toStdString());
        for (const QString& call : QString(c.calls).split('|')) {
            const std::string line = call.mid(1).toStdString();
            if (call[0] == '+')
                recorder->beginEvent(line);
            else if (call == "-")
                recorder->endEvent();
            else if (call[0] == '?')
                recorder->answer(line);
            else if (call == "~")
                recorder->yield();
            else
                recorder->close();
        }
        // A game killed at any moment leaves every line but the last run of ticks.
        EXPECT_TRUE(&c != cases || readScript(path) == kHeader + "tick 2\nextras\n");
        recorder.reset();
        EXPECT_EQ(readScript(path), kHeader + c.script);
    }
    // A name given is kept on the one line of its answer; no name is a bare input.
    const QTemporaryDir dir;
    const QString path = dir.filePath("names.txt");
    {
        ScriptedPlatform player;
        ScriptRecorder recorder(path.toStdString());
        RecordingPlatform recording(player, recorder);
        for (const char* name : {"Ann\r\nLee", ""}) {
            player.queueInputAnswer(QString::fromUtf8(name));
            recording.InputBox({}, {}, {});
        }
    }
    EXPECT_EQ(readScript(path), kHeader + "input Ann  Lee\ninput\n");
}

// A game played through the window's own events with the recorder listening, as
// `varnoth --record` plays it, replays headless to the very same state. A click that waits
// while the game-over tick runs is handled at that tick's first yield, before the screen is
// drawn: Yes starts the new game there and then, so the tick draws the new game's score and
// asks no name although the old score was a new best. It is recorded to run at that yield:
// replayed after the tick it would meet a name prompt that the player never saw.
TEST(RecordReplay, ARecordedGameReplaysToTheSameState) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("game.txt");
    ScriptedPlatform player;
    MemoryHighScores highScores;
    auto recorder = std::make_unique<ScriptRecorder>(path.toStdString());
    Game g(testArtwork(), player, highScores, recorder.get());
    const auto ticks = [&g](int n) {
        for (int i = 0; i < n && g.form.tmrState.Enabled(); ++i)
            g.form.tmrState.OnTimer.Raise();
    };
    g.form.Load.Raise();
    g.game.Record().dScore = 5000;
    ticks(100);
    g.form.picFire.Click.Raise();
    ticks(30);
    g.form.tmrExtras.OnTimer.Raise();
    for (std::int16_t key : {'q', '\r', ' '})
        g.form.picFire.KeyPress.Raise(key);
    while (g.game.Record().lGameState != 3)
        ticks(1);
    QObject::connect(
        &player, &ScriptedPlatform::yielded, &player, [&g] { g.form.picFire.Click.Raise(); },
        Qt::SingleShotConnection);
    player.queueMsgBoxAnswer(Platform::vbCancel);
    player.queueMsgBoxAnswer(Platform::vbYes);
    g.form.picFire.Click.Raise();
    ticks(1);
    ASSERT_EQ(g.game.Record().lGameState, 1);
    const auto played =
        QJsonDocument::fromJson(QByteArray::fromStdString(StateDump::json(0, g.game, g.form, {})));
    EXPECT_EQ(played["picGZone"][1]["text"].toString().toStdString(), "Score: 0 points");
    recorder.reset();
    const QString script = readScript(path);
    EXPECT_TRUE(script.contains("msgbox 2\nclick\nmsgbox 6\nat-yield 1 click\n"))
        << script.toStdString();

    const Replayed run = replay("set dScore 5000\n" + script + "dump\n");
    ASSERT_EQ(run.status, 0) << run.faults.join('\n').toStdString();
    ASSERT_EQ(run.lines.size(), 1u);
    for (const char* part : {"record", "elements", "picGZone", "picFire"})
        EXPECT_EQ(run.lines[0][part], played[part]) << part;
}

} // namespace
