#pragma once

#include <QStringList>
#include <optional>
#include <string>

// What the player asked for on the command line, read from the program's arguments, its name
// first. Only once Qt has taken its own options (-style, -platform...) out of them is a fault
// the player's; Main also reads them as given, Qt's among them, for what it needs before.
struct CommandLine {
    bool help = false;
    bool version = false;
    std::optional<double> scale;
    std::string recordFile;
    std::string replayFile;
    bool stats = false;
    // Why the line is refused, for the player; empty when it is not. The options are read
    // all the same, as far as they go.
    std::string fault;

    static CommandLine parse(const QStringList& args);
    static std::string usageLine();
    static std::string usage();
};
