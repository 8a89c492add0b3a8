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
        {"dump\n#= record {\"lLives\":5}\n#= picGZone []\n", ""},
        {"dump\n#= record {\"lLives\":5,\"lBogus\":1}\n", "expected {\"lBogus\":1,\"lLives\":5}"},
        {"dump\n#= record.lLives 4\n", "record.lLives is 5, expected 4"},
        {"dump\n#= picGZone[0].x1 4\n", "picGZone[0].x1: no such value"},
        {"tik\n", "exit status 2, expected 0"},
        {"#! ended\ndump\n", "the run did not end"},
    };
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("check.txt"));
    for (const auto& c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.scenario);
        file.close();
        const Scenario scenario(path);
        const QString failures =
            scenario.Check(ReplayRun::OfFile(path, scenario.arguments)).join('\n');
        if (*c.failure == 0)
            EXPECT_TRUE(failures.isEmpty()) << c.scenario << failures.toStdString();
        else
            EXPECT_TRUE(failures.contains(QString::fromUtf8(c.failure)))
                << c.scenario << "gave: " << failures.toStdString();
    }
}

} // namespace
