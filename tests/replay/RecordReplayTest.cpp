#include "ReplayRun.h"

#include "game/frmVarnoth.h"
#include "replay/Game.h"
#include "replay/ScriptRecorder.h"
#include "replay/ScriptedPlatform.h"
#include "replay/StateDump.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "view/VarnothForm.h"

#include <QFile>
#include <QJsonDocument>
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

// What the game tells the recorder: "+LINE" an event begins, "-" it ends, "?LINE" a dialog
// was answered, "~" the game yields, "!" the program ends where it stands.
TEST(ScriptRecorder, WritesTheScriptThatReplaysWhatHappened) {
    const struct {
        std::vector<std::string> calls;
        const char* script;
    } cases[] = {
        {{"+tick", "-", "+tick", "-", "+extras", "-", "+tick", "-"}, "tick 2\nextras\ntick\n"},
        {{"+click", "?msgbox 2", "-", "?input"}, "msgbox 2\nclick\ninput\n"},
        {{"+tick", "~", "+key 32", "?msgbox 6", "-", "-"}, "tick\nmsgbox 6\nkey 32\n"},
        {{"+tick", "~", "+click", "?msgbox 6", "-", "?input Ann", "~", "-"},
         "msgbox 6\nat-yield 1 click\ninput Ann\ntick\n"},
        {{"+tick", "~", "+click", "?msgbox 7", "!"}, "msgbox 7\nat-yield 1 click\ntick\n"},
        {{"+tick", "-", "+click", "?msgbox 7", "!"}, "tick\nmsgbox 7\nclick\n"},
        {{"+tick", "~", "+tick", "-", "~", "-"}, "at-yield 1 tick\ntick\n"},
    };
    for (const auto& c : cases) {
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("game.txt"));
        auto recorder = std::make_unique<ScriptRecorder>(path.toStdString());
        for (const std::string& call : c.calls) {
            if (call[0] == '+')
                recorder->BeginEvent(call.substr(1));
            else if (call == "-")
                recorder->EndEvent();
            else if (call[0] == '?')
                recorder->Answer(call.substr(1));
            else if (call == "~")
                recorder->Yield();
            else
                recorder->Close();
        }
        // A game killed at any moment leaves every line but the last run of ticks.
        if (&c == &cases[0]) {
            EXPECT_EQ(readScript(path), kHeader + QStringLiteral("tick 2\nextras\n"));
        }
        recorder.reset();
        EXPECT_EQ(readScript(path), kHeader + QString::fromUtf8(c.script));
    }
}

// A game played through the window's own events with the recorder listening, as
// `varnoth --record` plays it, replays headless to the very same state. The click that waits
// while the game-over tick runs is recorded to run at that tick's first yield: replayed after
// the tick it would meet a name prompt that the player never saw.
TEST(RecordReplay, ARecordedGameReplaysToTheSameState) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("game.txt"));
    ScriptedPlatform player;
    MemoryHighScores highScores;
    auto recorder = std::make_unique<ScriptRecorder>(path.toStdString());
    Game g(SharedArtwork(), player, highScores, recorder.get());
    const auto ticks = [&g](int n) {
        for (int i = 0; i < n && g.form.tmrState.Enabled(); ++i)
            g.form.tmrState.OnTimer();
    };
    std::int16_t keys[] = {'q', 13, 32};
    g.form.Load();
    g.game.Record().dScore = 5000;
    ticks(100);
    g.form.picFire.Click();
    ticks(30);
    g.form.tmrExtras.OnTimer();
    for (std::int16_t& key : keys)
        g.form.picFire.KeyPress(key);
    while (g.game.Record().lGameState != 3)
        ticks(1);
    player.onDoEvents = [&g, &player] {
        player.onDoEvents = nullptr;
        g.form.picFire.Click();
    };
    player.QueueMsgBoxAnswer(Platform::vbCancel);
    player.QueueMsgBoxAnswer(Platform::vbYes);
    g.form.picFire.Click();
    ticks(5);
    ASSERT_EQ(g.game.Record().lGameState, 1);
    const QJsonObject played =
        QJsonDocument::fromJson(QByteArray::fromStdString(StateDump::json(0, g.game, g.form, {})))
            .object();
    recorder.reset();
    const QString script = readScript(path);
    EXPECT_TRUE(script.contains(QStringLiteral("msgbox 2\nclick\nmsgbox 6\nat-yield 1 click\n")));

    const ReplayRun run(QStringLiteral("set dScore 5000\n") + script + QStringLiteral("dump\n"));
    ASSERT_EQ(run.exitCode, 0) << run.faults.join('\n').toStdString();
    ASSERT_FALSE(run.lines.empty());
    for (const char* part : {"record", "elements", "picGZone", "picFire"})
        EXPECT_EQ(run.lines.back()[QLatin1String(part)], played[QLatin1String(part)]) << part;
}

} // namespace
