#pragma once

#include "ReplayProgram.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

// One run of varnoth-replay on a script, with a store of its own.
struct ReplayRun {
    int exitCode = -1;
    std::vector<QJsonObject> lines;
    QString errors;

    explicit ReplayRun(const QString& script) {
        QTemporaryDir store;
        QProcess process;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VARNOTH_REGISTRY"),
                           store.filePath(QStringLiteral("store.db")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.start(QString::fromLatin1(kReplayProgram), {});
        process.write(script.toUtf8());
        process.closeWriteChannel();
        process.waitForFinished(60000);
        exitCode = process.exitCode();
        errors = QString::fromUtf8(process.readAllStandardError());
        for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
            if (!line.isEmpty())
                lines.push_back(QJsonDocument::fromJson(line).object());
        }
    }

    // The last dump's value at record.NAME or elements.NAME.
    QJsonValue last(const char* part, const char* name) const {
        for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
            if (it->contains(QStringLiteral("record")))
                return (*it)[QLatin1String(part)].toObject()[QLatin1String(name)];
        }
        return {};
    }
};
