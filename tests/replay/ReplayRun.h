#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

// One run of varnoth-replay with a store of its own: the script goes in on standard input,
// or is named among the arguments; the printed JSON lines and the errors come back.
class ReplayRun {
public:
    explicit ReplayRun(const QString& script, const QStringList& arguments = {});
    static ReplayRun OfFile(const QString& path, const QStringList& arguments = {});

    int exitCode = -1;
    std::vector<QJsonObject> lines;
    // Lines of standard output that are no JSON object.
    QStringList unparsed;
    // The driver's own messages on standard error, without what Qt may say there.
    QStringList faults;

private:
    ReplayRun(const QString* script, const QStringList& arguments);
};
