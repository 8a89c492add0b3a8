#include "Scenario.h"

#include "ReplayRun.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <map>
#include <optional>

namespace {

const QJsonObject kEnded{{"ended", true}};

// The value at a path such as record.lGameState, elements.lblExtraIndicator(0).BackColor,
// picGZone[-1].text or dialogs.length. Below the top, an object's key runs to the next [,
// because the element names have dots of their own.
std::optional<QJsonValue> lookup(const QJsonObject& output, const QString& path) {
    static const QRegularExpression top(QStringLiteral("^[^.\\[]+"));
    static const QRegularExpression index(QStringLiteral("^\\[(-?\\d+)\\]"));
    const auto first = top.match(path);
    if (!first.hasMatch() || !output.contains(first.captured()))
        return std::nullopt;
    QJsonValue value = output[first.captured()];
    QString rest = path.mid(first.capturedLength());
    while (!rest.isEmpty()) {
        if (const auto i = index.match(rest); i.hasMatch()) {
            const QJsonArray array = value.toArray();
            qsizetype at = i.captured(1).toLongLong();
            if (at < 0)
                at += array.size();
            if (!value.isArray() || at < 0 || at >= array.size())
                return std::nullopt;
            value = array[at];
            rest = rest.mid(i.capturedLength());
        } else if (rest == QStringLiteral(".length") && value.isArray()) {
            return QJsonValue(value.toArray().size());
        } else if (rest.startsWith('.') && value.isObject()) {
            const qsizetype end = rest.indexOf('[');
            const QString key = rest.mid(1, end < 0 ? -1 : end - 1);
            if (!value.toObject().contains(key))
                return std::nullopt;
            value = value.toObject()[key];
            rest = end < 0 ? QString() : rest.mid(end);
        } else {
            return std::nullopt;
        }
    }
    return value;
}

QString show(const QJsonValue& value) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

} // namespace

Scenario::Scenario(const QString& path) : name_(QFileInfo(path).fileName()) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        problems_.push_back(name_ + QStringLiteral(": cannot be read"));
        return;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    int outputLine = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QString text = lines[i].trimmed();
        const QString command = text.section(' ', 0, 0);
        if (text.startsWith(QStringLiteral("#!")))
            readDirective(i + 1, text.mid(2).trimmed());
        else if (text.startsWith(QStringLiteral("#=")))
            readExpectation(i + 1, text.mid(2).trimmed(), outputLine);
        else if (command == QStringLiteral("dump") || command == QStringLiteral("call"))
            outputLines_.push_back(outputLine = i + 1);
    }
}

void Scenario::readDirective(int fileLine, const QString& text) {
    const QString keyword = text.section(' ', 0, 0);
    const QString value = text.section(' ', 1);
    if (keyword == QStringLiteral("args"))
        arguments = value.split(' ', Qt::SkipEmptyParts);
    else if (keyword == QStringLiteral("exit"))
        exitCode_ = value.toInt();
    else if (keyword == QStringLiteral("fault"))
        fault_ = value;
    else if (keyword == QStringLiteral("ended"))
        ended_ = true;
    else
        problems_.push_back(
            QStringLiteral("%1:%2: unknown directive %3").arg(name_).arg(fileLine).arg(keyword));
}

void Scenario::readExpectation(int fileLine, const QString& text, int outputLine) {
    const QString path = text.section(' ', 0, 0);
    QJsonParseError error;
    const QJsonDocument value =
        QJsonDocument::fromJson(('[' + text.section(' ', 1) + ']').toUtf8(), &error);
    if (outputLine == 0 || error.error != QJsonParseError::NoError || value.array().size() != 1)
        problems_.push_back(QStringLiteral("%1:%2: an expectation needs a dump or call above it "
                                           "and one JSON value")
                                .arg(name_)
                                .arg(fileLine));
    else
        expectations_.push_back({fileLine, outputLine, path, value.array().first()});
}

QStringList Scenario::Check(const ReplayRun& run) const {
    QStringList failures = problems_;
    for (const QString& line : run.unparsed)
        failures.push_back(QStringLiteral("not a JSON object: ") + line);
    if (run.exitCode != exitCode_)
        failures.push_back(QStringLiteral("exit status %1, expected %2 (%3)")
                               .arg(run.exitCode)
                               .arg(exitCode_)
                               .arg(run.faults.join(QStringLiteral("; "))));
    const QStringList faults = fault_.isEmpty() ? QStringList() : QStringList{fault_};
    if (run.faults != faults)
        failures.push_back(QStringLiteral("messages [%1], expected [%2]")
                               .arg(run.faults.join(QStringLiteral("; ")), faults.join("")));

    std::vector<QJsonObject> outputs = run.lines;
    const bool ended = !outputs.empty() && outputs.back() == kEnded;
    if (ended)
        outputs.pop_back();
    if (ended != ended_)
        failures.push_back(ended_ ? QStringLiteral("the run did not end with {\"ended\":true}")
                                  : QStringLiteral("the run ended the program"));
    if (exitCode_ == 0 && !ended_ && outputs.size() != outputLines_.size())
        failures.push_back(QStringLiteral("%1 lines printed for %2 dumps and calls")
                               .arg(outputs.size())
                               .arg(outputLines_.size()));

    std::map<int, QJsonObject> outputOf;
    for (std::size_t i = 0; i < outputs.size() && i < outputLines_.size(); ++i)
        outputOf[outputLines_[i]] = outputs[i];
    for (const Expectation& e : expectations_) {
        const QString where = QStringLiteral("%1:%2: %3").arg(name_).arg(e.fileLine).arg(e.path);
        const auto output = outputOf.find(e.outputLine);
        if (output == outputOf.end()) {
            failures.push_back(where +
                               QStringLiteral(": line %1 printed nothing").arg(e.outputLine));
            continue;
        }
        const auto actual = lookup(output->second, e.path);
        if (!actual) {
            failures.push_back(where + QStringLiteral(": no such value"));
            continue;
        }
        // An object names only the members that matter here; the others may be anything.
        QJsonValue seen = *actual;
        if (e.value.isObject() && actual->isObject()) {
            QJsonObject members;
            for (const QString& key : e.value.toObject().keys())
                members[key] = actual->toObject().value(key);
            seen = members;
        }
        if (seen != e.value)
            failures.push_back(
                where + QStringLiteral(" is %1, expected %2").arg(show(seen), show(e.value)));
    }
    return failures;
}
