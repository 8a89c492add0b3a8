#include "Scenario.h"
#include "ReplayPaths.h"
#include "ReplayRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Every script in scenarios/ is one behaviour of the game, played through varnoth-replay.
class ScenarioTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ScenarioTest, PlaysAsWritten) {
    const QString path =
        QDir(QString::fromUtf8(kScenarioDir)).filePath(QString::fromStdString(GetParam()));
    const Scenario scenario(path);
    const QStringList failures = scenario.Check(ReplayRun::OfFile(path, scenario.arguments));
    EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Varnoth, ScenarioTest,
                         ::testing::ValuesIn(std::vector<std::string>(std::begin(kScenarios),
                                                                      std::end(kScenarios))),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.rfind('.'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// The checker itself: a scenario that says something else than the run shows must fail.
TEST(ScenarioCheck, ReportsEveryDifferenceFromTheRun) {
    const struct {
        const char* scenario;
        const char* failure; // empty when the scenario holds
    } cases[] = {
        {"dump\n#= record.lLives 5\n#= elements.lblExtraIndicator(9).BackColor 12632256\n", ""},
        {"dump\n#= record.lLives 4\n", "record.lLives is 5, expected 4"},
        {"dump\n#= record.lBogus 4\n", "record.lBogus: no such value"},
        {"dump\n#= picGZone[0].x1 4\n", "picGZone[0].x1: no such value"},
        {"#= record.lLives 5\ndump\n", "needs a dump or call above it"},
        {"dump\n#= record.lLives five\n", "needs a dump or call above it and one JSON value"},
        {"call GetPraiseText 99\n#= result \"Hit,\"\n", ""},
        {"tik\n", "exit status 2, expected 0"},
        {"#! exit 2\n#! fault script line 3: unknown command \"tok\"\ntik\n",
         "messages [script line 3: unknown command \"tik\"]"},
        {"#! ended\ndump\n", "the run did not end"},
        {"#! bogus\n", "unknown directive bogus"},
    };
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("check.txt"));
    for (const auto& c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.scenario);
        file.close();
        const Scenario scenario(path);
        const QStringList failures = scenario.Check(ReplayRun::OfFile(path, scenario.arguments));
        const QString expected = QString::fromUtf8(c.failure);
        if (expected.isEmpty())
            EXPECT_TRUE(failures.isEmpty()) << c.scenario << failures.join('\n').toStdString();
        else
            EXPECT_TRUE(failures.join('\n').contains(expected))
                << c.scenario << "gave: " << failures.join('\n').toStdString();
    }
}

} // namespace
