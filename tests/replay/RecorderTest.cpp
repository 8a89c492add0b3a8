#include "replay/RecordingPlatform.h"
#include "replay/ScriptRecorder.h"
#include "view/ScriptedPlatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kHeader =
    QStringLiteral("# Varnoth game record: replay with varnoth --replay or varnoth-replay\n");

QString readScript(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Plays what the game tells the recorder: "+LINE" an event begins, "-" it ends, "?LINE" a
// dialog was answered, "~" the game yields, "!" the program ends where it stands.
void tell(ScriptRecorder& recorder, const std::vector<std::string>& calls) {
    for (const std::string& call : calls) {
        if (call[0] == '+')
            recorder.BeginEvent(call.substr(1));
        else if (call == "-")
            recorder.EndEvent();
        else if (call[0] == '?')
            recorder.Answer(call.substr(1));
        else if (call == "~")
            recorder.Yield();
        else if (call == "!")
            recorder.Close();
        else
            FAIL() << "unknown call " << call;
    }
}

TEST(ScriptRecorder, WritesTheScriptThatReplaysWhatHappened) {
    const struct {
        const char* what;
        std::vector<std::string> calls;
        const char* script;
    } cases[] = {
        {"ticks fold until another line comes",
         {"+tick", "-", "+tick", "-", "+tick", "-", "+extras", "-", "+tick", "-"},
         "tick 3\nextras\ntick\n"},
        {"an answer comes before the click that asked",
         {"+click", "?msgbox 2", "-"},
         "msgbox 2\nclick\n"},
        {"answers outside any event are written as they come",
         {"?input", "?msgbox 6"},
         "input\nmsgbox 6\n"},
        {"a click at the yield that ends a tick follows the tick",
         {"+tick", "~", "+click", "-", "-", "+tick", "~", "-"},
         "tick\nclick\ntick\n"},
        {"a key at the yield that ends a tick follows the tick",
         {"+tick", "~", "+key 32", "?msgbox 6", "-", "-"},
         "tick\nmsgbox 6\nkey 32\n"},
        {"a click at the game-over tick's first yield runs at that yield",
         {"+tick", "-", "+tick", "~", "+click", "?msgbox 6", "-", "?input Ann", "~", "-"},
         "tick\nmsgbox 6\nat-yield 1 click\ninput Ann\ntick\n"},
        {"the program ends inside a click at a tick's yield: the yield never ended",
         {"+tick", "~", "+click", "?msgbox 7", "!"},
         "msgbox 7\nat-yield 1 click\ntick\n"},
        {"the program ends inside a click of its own",
         {"+tick", "-", "+click", "?msgbox 7", "!"},
         "tick\nmsgbox 7\nclick\n"},
    };
    for (const auto& c : cases) {
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("game.txt"));
        {
            ScriptRecorder recorder(path.toStdString());
            tell(recorder, c.calls);
        }
        EXPECT_EQ(readScript(path), kHeader + QString::fromUtf8(c.script)) << c.what;
    }
}

// A game killed at any moment leaves every line but the last run of ticks.
TEST(ScriptRecorder, FlushesEachLineButTicksAsItGoes) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("game.txt"));
    auto recorder = std::make_unique<ScriptRecorder>(path.toStdString());
    tell(*recorder, {"+tick", "-", "+tick", "-", "+click", "-", "+tick", "-"});
    EXPECT_EQ(readScript(path), kHeader + QStringLiteral("tick 2\nclick\n"));
    recorder.reset();
    EXPECT_EQ(readScript(path), kHeader + QStringLiteral("tick 2\nclick\ntick\n"));
}

TEST(ScriptRecorder, RefusesAFileItCannotWrite) {
    const QTemporaryDir dir;
    EXPECT_THROW(ScriptRecorder(dir.filePath(QStringLiteral("no/such/dir/game.txt")).toStdString()),
                 std::runtime_error);
}

// The platform under a recorded game hears each answer as the person gave it.
TEST(RecordingPlatform, TellsTheRecorderEveryAnswerAndYield) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("game.txt"));
    ScriptedPlatform person;
    ScriptRecorder recorder(path.toStdString());
    RecordingPlatform platform(person, recorder);
    person.QueueMsgBoxAnswer(Platform::vbCancel);
    person.QueueInputAnswer(QStringLiteral(" Ann\nLee"));
    person.QueueInputAnswer(QString());

    recorder.BeginEvent("tick");
    EXPECT_EQ(
        platform.MsgBox(QStringLiteral("Want to play again?"), 547, QStringLiteral("Varnoth")),
        Platform::vbCancel);
    // A name is one line of the script; the person's line break becomes a blank.
    EXPECT_EQ(platform.InputBox(QStringLiteral("name?"), QStringLiteral("Varnoth"), {}),
              QStringLiteral(" Ann Lee"));
    EXPECT_EQ(platform.InputBox(QStringLiteral("name?"), QStringLiteral("Varnoth"), {}), QString());
    platform.DoEvents();
    recorder.BeginEvent("click");
    recorder.EndEvent();
    platform.DoEvents();
    recorder.EndEvent();
    EXPECT_EQ(person.Yields(), 2);

    // The end closes the record before the program goes.
    EXPECT_THROW(platform.End(), ProgramEnded);
    EXPECT_EQ(readScript(path),
              kHeader +
                  QStringLiteral("msgbox 2\ninput  Ann Lee\ninput\nat-yield 1 click\ntick\n"));
}

} // namespace
