#include "ReplayRun.h"

#include "game/HighScoreStore.h"
#include "game/frmVarnoth.h"
#include "tools/replay/GameRecording.h"
#include "tools/replay/ScriptRecorder.h"
#include "tools/replay/StateDump.h"
#include "view/Artwork.h"
#include "view/ScriptedPlatform.h"
#include "view/VarnothForm.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// What a fresh store gives: no best score yet.
class FreshHighScores : public HighScoreStore {
public:
    void LoadHighScore(QString& sWho, double& dBest) override {
        sWho = QStringLiteral("Unknown");
        dBest = 1000;
    }
    void SaveHighScore(QString&, double&) override {}
};

// A game played through the window's own events with the recorder listening, then its
// script replayed headless: both end in the same state.
TEST(RecordReplay, ARecordedGameReplaysToTheSameState) {
    QTemporaryDir dir;
    const QString scriptPath = dir.filePath(QStringLiteral("game.txt"));
    const Artwork artwork;
    VarnothForm form(artwork);
    ScriptedPlatform player;
    FreshHighScores highScores;
    std::string finalDump;
    {
        ScriptRecorder recorder(scriptPath.toStdString());
        RecordingPlatform platform(player, recorder);
        frmVarnoth game(form, platform, highScores);
        RecordEvents(form, recorder);
        form.Load();
        const auto ticks = [&](int n) {
            for (int i = 0; i < n; ++i)
                form.tmrState.OnTimer();
        };
        std::int16_t space = 32, letter = 'q', enter = 13;
        ticks(100);
        form.picFire.Click();
        ticks(30);
        form.tmrExtras.OnTimer();
        form.picFire.KeyPress(letter);
        form.picFire.KeyPress(enter);
        form.picFire.KeyPress(space);
        ticks(40);
        // Let the targets cross until the lives are gone, and the game-over tick has run.
        for (int i = 0; i < 5000 && form.tmrState.Enabled(); ++i)
            ticks(1);
        ASSERT_EQ(game.Record().lGameState, 3);
        player.QueueMsgBoxAnswer(Platform::vbCancel);
        form.picFire.Click();
        player.QueueMsgBoxAnswer(Platform::vbYes);
        form.picFire.KeyPress(space);
        ticks(7);
        finalDump = StateDump::json(0, game, form, {});
    }
    QFile file(scriptPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString script = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(script.contains(
        QStringLiteral("tick 100\nclick\ntick 30\nextras\nkey 113\nkey 13\nkey 32\n")))
        << script.toStdString();
    EXPECT_TRUE(script.contains(QStringLiteral("msgbox 2\nclick\nmsgbox 6\nkey 32\ntick 7\n")))
        << script.toStdString();

    const ReplayRun run(script + QStringLiteral("dump\n"));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QJsonObject replayed = run.lines.back();
    const QJsonObject played =
        QJsonDocument::fromJson(QByteArray::fromStdString(finalDump)).object();
    EXPECT_EQ(replayed["record"], played["record"]);
    EXPECT_EQ(replayed["elements"], played["elements"]);
    EXPECT_EQ(replayed["picGZone"], played["picGZone"]);
}

} // namespace
