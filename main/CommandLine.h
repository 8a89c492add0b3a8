#pragma once

#include <optional>
#include <string>
#include <vector>

// What the player asked for on the command line. Parsed before any window exists, so that
// --help and --version answer on a machine without a display.
struct CommandLine {
    bool help = false;
    bool version = false;
    std::optional<double> scale;
    std::string recordFile;
    std::string replayFile;
    bool stats = false;

    // Throws std::invalid_argument with a message for the player on a bad command line.
    static CommandLine parse(const std::vector<std::string>& args);
    static std::string usage();
};
