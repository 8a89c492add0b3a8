// Every script in scenarios/ is one flow of the game, played through varnoth-replay, with
// what its run must show written under the dump or call that prints it:
//
//   #= record {"lLives":5}          an object: the members it names (record, elements...)
//   #= picGZone[-1].text "Hit,"     a value at a path; an index from the end when negative
//   #= dialogs.length 1             the length of a list
//   #! args --locale de_DE          arguments for varnoth-replay before the script's name
//   #! ended                        the run ends the program, with {"ended":true}
#include "ReplayPaths.h"
#include "ReplayRun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

std::optional<QJsonValue> lookup(QJsonValue value, const QString& path) {
    static const QRegularExpression step(QStringLiteral("^\\.?(\\w+)|^\\[(-?\\d+)\\]"));
    for (QString rest = path; !rest.isEmpty();) {
        const auto m = step.match(rest);
        if (!m.hasMatch())
            return std::nullopt;
        rest = rest.mid(m.capturedLength());
        const QJsonArray array = value.toArray();
        if (m.captured(1) == QStringLiteral("length") && value.isArray()) {
            value = static_cast<int>(array.size());
        } else if (!m.captured(1).isEmpty() && value.toObject().contains(m.captured(1))) {
            value = value.toObject()[m.captured(1)];
        } else if (const int i = m.captured(2).toInt();
                   m.hasCaptured(2) && value.isArray() && i < array.size() && -i <= array.size()) {
            value = array[i < 0 ? array.size() + i : i];
        } else {
            return std::nullopt;
        }
    }
    return value;
}

QString show(const QJsonValue& value) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
}

// Everything about the run of the scenario at `path` that differs from what it says.
QStringList check(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {path + QStringLiteral(": cannot be read")};
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    QStringList arguments, failures;
    bool ended = false;
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("#! args ")))
            arguments = line.mid(8).split(' ', Qt::SkipEmptyParts);
        ended = ended || line == QStringLiteral("#! ended");
    }
    const ReplayRun run = ReplayRun::OfFile(path, arguments);
    if (run.exitCode != 0 || !run.unparsed.isEmpty())
        failures.push_back(QStringLiteral("exit status %1: %2")
                               .arg(run.exitCode)
                               .arg((run.faults + run.unparsed).join(QStringLiteral("; "))));
    if (ended != (!run.lines.empty() && run.lines.back() == QJsonObject{{"ended", true}}))
        failures.push_back(ended ? QStringLiteral("the run did not end the program")
                                 : QStringLiteral("the run ended the program"));

    std::size_t printed = 0; // the lines printed by the dumps and calls so far
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.startsWith(QStringLiteral("dump")) || line.startsWith(QStringLiteral("call ")))
            ++printed;
        if (!line.startsWith(QStringLiteral("#= ")))
            continue;
        const QString where = QStringLiteral("line %1: ").arg(n + 1);
        const QJsonDocument expected =
            QJsonDocument::fromJson(('[' + line.section(' ', 2) + ']').toUtf8());
        if (printed == 0 || printed > run.lines.size() || expected.array().size() != 1) {
            failures.push_back(where + QStringLiteral("nothing printed, or no one JSON value"));
            continue;
        }
        const QJsonValue want = expected.array().first();
        const auto actual = lookup(run.lines[printed - 1], line.section(' ', 1, 1));
        QJsonValue seen = actual.value_or(QJsonValue::Undefined);
        // An object names only the members that matter here.
        if (want.isObject() && seen.isObject()) {
            QJsonObject members;
            for (const QString& key : want.toObject().keys())
                members[key] = seen.toObject().value(key);
            seen = members;
        }
        if (seen != want)
            failures.push_back(where + show(seen) + QStringLiteral(", expected ") + show(want));
    }
    if (!ended && printed != run.lines.size())
        failures.push_back(QStringLiteral("%1 lines printed for %2 dumps and calls")
                               .arg(run.lines.size())
                               .arg(printed));
    return failures;
}

class ScenarioTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ScenarioTest, PlaysAsWritten) {
    const QStringList failures =
        check(QDir(QString::fromUtf8(kScenarioDir)).filePath(QString::fromUtf8(GetParam())));
    EXPECT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Varnoth, ScenarioTest, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             name = name.substr(0, name.rfind('.'));
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// The checker itself: what a run does not show fails the scenario.
TEST(ScenarioCheck, ReportsWhatTheRunDoesNotShow) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("check.txt"));
    for (const char* wrong : {"#= record {\"lLives\":4}", "#= picGZone[0].x1 4", "#! ended"}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("dump\n#= record {\"lLives\":5}\n") + wrong + '\n');
        file.close();
        EXPECT_EQ(check(path).size(), 1) << wrong;
    }
}

} // namespace
