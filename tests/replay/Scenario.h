#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <vector>

class ReplayRun;

// A replay script whose comments say what its run must show. Lines starting with #! are
// about the run, lines starting with #= about the output of the nearest dump or call above:
//
//   #! args --locale de_DE        arguments for varnoth-replay before the script's name
//   #! exit 2                     the exit status (0 when not given)
//   #! fault script line 4: ...   the driver's one message on standard error (none if not given)
//   #! ended                      the run ends with {"ended":true}
//   #= record.lGameState 2        the value (JSON) at a path: record.NAME, elements.NAME,
//   #= picGZone[-1].text "Hit,"   picGZone[i].FIELD (from the end when negative),
//   #= dialogs.length 1           dialogs.length, result...
//   #= record {"lLives":5}        an object: only the members it names
//
//   Scenario scenario(path);
//   for (const QString& failure : scenario.Check(ReplayRun::OfFile(path, scenario.arguments)))
class Scenario {
public:
    explicit Scenario(const QString& path);

    QStringList arguments;

    // Everything about the run that differs from the scenario, one line each; also the
    // faults of the scenario file itself.
    QStringList Check(const ReplayRun& run) const;

private:
    struct Expectation {
        int fileLine = 0;
        int outputLine = 0; // the script line of the dump or call
        QString path;
        QJsonValue value;
    };

    void readDirective(int fileLine, const QString& text);
    void readExpectation(int fileLine, const QString& text, int outputLine);

    QString name_;
    int exitCode_ = 0;
    QString fault_;
    bool ended_ = false;
    // The script lines of the dumps and calls, in order: each prints one line.
    std::vector<int> outputLines_;
    std::vector<Expectation> expectations_;
    QStringList problems_;
};
