#include "ReplayRun.h"

#include "game/frmVarnoth.h"
#include "replay/Game.h"
#include "replay/ScriptRecorder.h"
#include "replay/StateDump.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "view/ScriptedPlatform.h"
#include "view/VarnothForm.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A game played through the window's own events with the recorder listening, as
// `varnoth --record` plays it; `player` stands in for the person at the dialogs.
struct RecordedGame {
    explicit RecordedGame(const QString& path)
        : recorder(std::make_unique<ScriptRecorder>(path.toStdString())) {
        form.Load();
    }

    void Ticks(int n) {
        for (int i = 0; i < n && form.tmrState.Enabled(); ++i)
            form.tmrState.OnTimer();
    }
    void Key(std::int16_t code) { form.picFire.KeyPress(code); }
    // Crossings without a hit until the game is over and its screen drawn.
    void LoseAllLives() {
        while (game.Record().lGameState != 3)
            Ticks(1);
        Ticks(1);
    }
    std::string Dump() const { return StateDump::json(0, game, form, {}); }
    // Writes out what is pending, as the end of the program does.
    void Stop() { recorder.reset(); }

    ScriptedPlatform player;
    MemoryHighScores highScores;
    std::unique_ptr<ScriptRecorder> recorder;
    Game g{SharedArtwork(), player, highScores, recorder.get()};
    VarnothForm& form = g.form;
    frmVarnoth& game = g.game;
};

QString readScript(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The recorded script replayed headless ends where the game ended.
void expectReplaysTo(const QString& script, const std::string& played) {
    const ReplayRun run(script + QStringLiteral("dump\n"));
    ASSERT_EQ(run.exitCode, 0) << run.faults.join('\n').toStdString();
    ASSERT_FALSE(run.lines.empty());
    const QJsonObject replayed = run.lines.back();
    const QJsonObject expected =
        QJsonDocument::fromJson(QByteArray::fromStdString(played)).object();
    for (const char* part : {"record", "elements", "picGZone", "picFire"})
        EXPECT_EQ(replayed[QLatin1String(part)], expected[QLatin1String(part)]) << part;
}

TEST(RecordReplay, ARecordedGameReplaysToTheSameState) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("game.txt"));
    std::string played;
    {
        RecordedGame g(path);
        g.Ticks(100);
        g.form.picFire.Click();
        g.Ticks(30);
        g.form.tmrExtras.OnTimer();
        g.Key('q');
        g.Key(13);
        g.Key(32);
        g.Ticks(40);
        g.LoseAllLives();
        g.player.QueueMsgBoxAnswer(Platform::vbCancel);
        g.form.picFire.Click();
        g.player.QueueMsgBoxAnswer(Platform::vbYes);
        g.Key(32);
        g.Ticks(7);
        played = g.Dump();
        g.Stop();
    }
    const QString script = readScript(path);
    EXPECT_TRUE(script.contains(QStringLiteral("tick 100\nclick\ntick 30\nextras\nkey 113\n"
                                               "key 13\nkey 32\n")))
        << script.toStdString();
    EXPECT_TRUE(script.contains(QStringLiteral("msgbox 2\nclick\nmsgbox 6\nkey 32\ntick 7\n")))
        << script.toStdString();
    expectReplaysTo(script, played);
}

// A click that waited while the game-over tick ran is handled at that tick's first yield,
// before the screen is drawn and the name asked for. Replayed after the tick, it would meet
// a name prompt the person never saw.
TEST(RecordReplay, AClickInsideTheGameOverTickReplaysInsideIt) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("game.txt"));
    std::string played;
    {
        RecordedGame g(path);
        g.game.Record().dScore = 5000;
        while (g.game.Record().lGameState != 3)
            g.Ticks(1);
        int yields = 0;
        g.player.onDoEvents = [&] {
            if (++yields == 1)
                g.form.picFire.Click();
        };
        g.player.QueueMsgBoxAnswer(Platform::vbYes);
        g.Ticks(1);
        g.player.onDoEvents = nullptr;
        ASSERT_EQ(g.game.Record().lGameState, 1);
        ASSERT_EQ(g.player.Dialogs().size(), 1u);
        g.Ticks(3);
        played = g.Dump();
        g.Stop();
    }
    const QString script = readScript(path);
    EXPECT_TRUE(script.contains(QStringLiteral("msgbox 6\nat-yield 1 click\ntick 4\n")))
        << script.toStdString();
    // The score was set by hand: the replay must start from the same one.
    expectReplaysTo(QStringLiteral("set dScore 5000\n") + script, played);
}

// No to the play-again question ends the program inside the click; the record is complete.
TEST(RecordReplay, AGameThatEndsLeavesAScriptThatEndsTheSameWay) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("game.txt"));
    RecordedGame g(path);
    g.Ticks(12);
    g.LoseAllLives();
    g.player.QueueMsgBoxAnswer(Platform::vbNo);
    EXPECT_THROW(g.form.picFire.Click(), ProgramEnded);
    const QString script = readScript(path);
    EXPECT_TRUE(script.endsWith(QStringLiteral("msgbox 7\nclick\n"))) << script.toStdString();

    const ReplayRun run(script + QStringLiteral("tik\n"));
    EXPECT_EQ(run.exitCode, 0) << run.faults.join('\n').toStdString();
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines.back(), QJsonObject({{"ended", true}}));
}

} // namespace
