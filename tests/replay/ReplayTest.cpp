#include "ReplayRun.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

QJsonObject recordOf(const QJsonObject& dump) {
    return dump[QStringLiteral("record")].toObject();
}
QJsonObject elementsOf(const QJsonObject& dump) {
    return dump[QStringLiteral("elements")].toObject();
}

// Six crossings without a hit, each from just before the far side.
const QString kSixMisses = QStringLiteral(
    "set lTargetPos 8200\ntick\nset lTargetPos 8200\ntick\nset lTargetPos 8200\ntick\n"
    "set lTargetPos 8200\ntick\nset lTargetPos 8200\ntick\nset lTargetPos 8200\ntick\n");

TEST(Replay, AShotGoesFromAimingToShootingAndBack) {
    const ReplayRun run(
        QStringLiteral("dump\nclick\ndump\ntick\ndump\ntick\ndump\ntick 22\ndump\ntick\ndump\n"));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    ASSERT_EQ(run.lines.size(), 6u);
    const struct {
        int state, beam;
    } expected[] = {{1, -1}, {2, -1}, {2, 125}, {2, 250}, {2, 0}, {1, -1}};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(recordOf(run.lines[i])["lGameState"].toInt(), expected[i].state) << "dump " << i;
        EXPECT_EQ(recordOf(run.lines[i])["lBeamLength"].toInt(), expected[i].beam) << "dump " << i;
    }
    // Frame 2 of the shot: a zigzag of five periods in the stage's blue, then the target.
    const QJsonArray field = run.lines[3][QStringLiteral("picGZone")].toArray();
    ASSERT_EQ(field.size(), 10 + 5);
    EXPECT_EQ(field[0].toObject()["x1"].toDouble(), 3987.5);
    EXPECT_EQ(field[0].toObject()["color"].toInt(), 16711680);
    EXPECT_EQ(elementsOf(run.lines[3])["picFire.BackColor"].toInt(), 128);
}

TEST(Replay, AHitScoresShowsTheExplosionAndEndsTheCrossing) {
    const ReplayRun run(
        QStringLiteral("set lTargetStep 0\nset lTargetPos 4150\nclick\ntick 22\ndump\n"));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.last("record", "dScore").toDouble(), 1000);
    EXPECT_EQ(run.last("record", "lHits").toInt(), 1);
    EXPECT_EQ(run.last("record", "lTargets").toInt(), 1);
    EXPECT_EQ(run.last("record", "lLives").toInt(), 5);
    EXPECT_EQ(run.last("record", "lMessageTicks").toInt(), 59);
    EXPECT_EQ(run.last("record", "lGameState").toInt(), 1);
    EXPECT_EQ(run.last("elements", "lblScore.Caption").toString(), QStringLiteral("1,000"));
    EXPECT_EQ(run.last("elements", "picExplosion.Left").toDouble(), 3750);
    EXPECT_TRUE(run.last("elements", "picExplosion.Visible").toBool());
    const QJsonArray field = run.lines.back()[QStringLiteral("picGZone")].toArray();
    ASSERT_FALSE(field.isEmpty());
    EXPECT_EQ(field.last().toObject()["text"].toString(),
              QStringLiteral("DIRECT HIT!!! 1,000 pts"));
}

TEST(Replay, ANewBestScoreAsksForTheNameAndShowsIt) {
    const ReplayRun run(kSixMisses +
                        QStringLiteral("dump\nset dScore 12340\ninput Ann\ntick\ndump\n"));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(recordOf(run.lines[0])["lLives"].toInt(), -1);
    EXPECT_EQ(recordOf(run.lines[0])["lGameState"].toInt(), 3);
    EXPECT_EQ(run.last("elements", "lblHighScore.Caption").toString(),
              QStringLiteral("Ann 12,340 pts"));
    EXPECT_FALSE(run.last("elements", "tmrState.Enabled").toBool());
    const QJsonArray dialogs = run.lines.back()[QStringLiteral("dialogs")].toArray();
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_EQ(dialogs[0].toObject()["kind"].toString(), QStringLiteral("input"));
    EXPECT_EQ(dialogs[0].toObject()["default"].toString(), QStringLiteral("Unknown"));
    EXPECT_EQ(dialogs[0].toObject()["answer"].toString(), QStringLiteral("Ann"));
}

TEST(Replay, PlayAgainCancelYesAndNo) {
    const ReplayRun run(
        kSixMisses + QStringLiteral("tick\nmsgbox cancel\nclick\ndump\nmsgbox 6\nkey 32\ndump\n") +
        kSixMisses + QStringLiteral("tick\nmsgbox no\nclick\ndump\n"));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    ASSERT_EQ(run.lines.size(), 3u);
    EXPECT_EQ(recordOf(run.lines[0])["lGameState"].toInt(), 3);
    const QJsonObject asked = run.lines[0]["dialogs"].toArray()[0].toObject();
    EXPECT_EQ(asked["prompt"].toString(), QStringLiteral("Want to play again?"));
    EXPECT_EQ(asked["style"].toInt(), 547);
    EXPECT_EQ(asked["title"].toString(), QStringLiteral("Varnoth"));
    EXPECT_EQ(recordOf(run.lines[1])["lGameState"].toInt(), 1);
    EXPECT_EQ(recordOf(run.lines[1])["lLives"].toInt(), 5);
    EXPECT_TRUE(elementsOf(run.lines[1])["tmrState.Enabled"].toBool());
    EXPECT_EQ(run.lines[2], QJsonObject({{"ended", true}}));
}

TEST(Replay, TheCodeWordSwitchesOnTheHiddenMode) {
    const ReplayRun run(QStringLiteral("type QuOrLy\ndump\nset lTargetPos 8200\ntick\ndump\n"));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(recordOf(run.lines[0])["lLives"].toInt(), 10);
    EXPECT_EQ(recordOf(run.lines[0])["lExtraPoints"].toInt(), 1500);
    EXPECT_EQ(recordOf(run.lines[0])["sngSpeed"].toDouble(), 5.0);
    EXPECT_EQ(recordOf(run.lines[1])["lStage"].toInt(), 10);
    EXPECT_EQ(recordOf(run.lines[1])["lTargetStep"].toInt(), 127);
    EXPECT_EQ(elementsOf(run.lines[1])["lblExtras.Caption"].toString(),
              QStringLiteral("Stage 9: Upgraded to OSKELDRIN"));
}

TEST(Replay, BadScriptsStopWithStatusTwoNamingTheLine) {
    const struct {
        QString script;
        const char* message;
    } cases[] = {
        {QStringLiteral("tick\n\n# comment\ntik 3\n"), "script line 4: unknown command \"tik\""},
        {QStringLiteral("set lBogus 1\n"), "script line 1: unknown variable \"lBogus\""},
        {QStringLiteral("tick x\n"), "script line 1: malformed number \"x\""},
        {QStringLiteral("set sngSpeed 1.5.2\n"), "script line 1: malformed number \"1.5.2\""},
        {QStringLiteral("call Explode\n"), "script line 1: unknown operation \"Explode\""},
        {kSixMisses + QStringLiteral("tick\nclick\n"),
         "script line 14: a dialog opened with no answer queued"},
        {QStringLiteral("tick\nmsgbox yes\ntick\n"),
         "script line 2: no message box took this answer"},
        {QStringLiteral("input Bob\n"), "script line 1: no input box took this answer"},
    };
    for (const auto& c : cases) {
        const ReplayRun run(c.script);
        EXPECT_EQ(run.exitCode, 2) << c.message;
        EXPECT_TRUE(run.errors.contains(QString::fromLatin1(c.message)))
            << run.errors.toStdString();
        EXPECT_EQ(run.errors.count(QStringLiteral("varnoth-replay:")), 1)
            << run.errors.toStdString();
    }
}

TEST(Replay, CallsPrintTheirResults) {
    const ReplayRun run(QStringLiteral("call DrawBeam 2951\ncall GetPraiseText 999\ncall "
                                       "UpdateStage 500\ncall DrawTarget 0 4172\ndump\n"));
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(run.lines[0], QJsonObject({{"call", "DrawBeam"}, {"result", false}}));
    EXPECT_EQ(run.lines[1], QJsonObject({{"call", "GetPraiseText"}, {"result", "Awesome, man!!"}}));
    EXPECT_EQ(run.lines[2], QJsonObject({{"call", "UpdateStage"}, {"result", QJsonValue()}}));
    EXPECT_EQ(run.last("record", "lShotPoints").toInt(), 312);
    EXPECT_EQ(run.last("record", "lStage").toInt(), 1);
}

} // namespace
