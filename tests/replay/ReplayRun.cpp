#include "ReplayRun.h"

#include "ReplayPaths.h"

#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>

namespace {
constexpr int kTimeoutMs = 60000;
const QString kFaultPrefix = QStringLiteral("varnoth-replay: ");
} // namespace

ReplayRun::ReplayRun(const QString& script, const QStringList& arguments)
    : ReplayRun(&script, arguments) {}

ReplayRun ReplayRun::OfFile(const QString& path, const QStringList& arguments) {
    return ReplayRun(nullptr, arguments + QStringList{path});
}

ReplayRun::ReplayRun(const QString* script, const QStringList& arguments) {
    const QTemporaryDir store;
    QProcess process;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VARNOTH_REGISTRY"),
                       store.filePath(QStringLiteral("store.db")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QString::fromLatin1(kReplayProgram), arguments);
    if (script)
        process.write(script->toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(kTimeoutMs);
    exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split('\n')) {
        if (line.startsWith(kFaultPrefix))
            faults.push_back(line.mid(kFaultPrefix.size()));
    }
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        // JSON holds no raw control characters, though Qt's reader lets them pass.
        const bool raw = std::any_of(line.begin(), line.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x20; });
        if (error.error == QJsonParseError::NoError && document.isObject() && !raw)
            lines.push_back(document.object());
        else
            unparsed.push_back(QString::fromUtf8(line));
    }
}
