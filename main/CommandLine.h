#pragma once

#include <optional>
#include <string>
#include <vector>

// What the player asked for on the command line. Parsed before any window exists, so that
// --help and --version answer on a machine without a display. Qt's own options (-style,
// -platform, -geometry...) are recognised here too and handed on to QApplication in
// qtArguments, so that a mistyped option is refused rather than silently ignored.
struct CommandLine {
    bool help = false;
    bool version = false;
    std::optional<double> scale;
    std::string recordFile;
    std::string replayFile;
    bool stats = false;
    // Qt's options as Qt reads them: "-name", then the value when the option takes one.
    std::vector<std::string> qtArguments;

    // Throws std::invalid_argument with a message for the player on a bad command line.
    static CommandLine parse(const std::vector<std::string>& args);
    static std::string usageLine();
    static std::string usage();
};
