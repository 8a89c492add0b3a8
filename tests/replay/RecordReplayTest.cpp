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
#include <gtest/gtest.h>
#include <memory>

namespace {

QString readScript(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
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
