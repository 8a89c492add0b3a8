#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

// One meaningful line of a replay script: its number in the file, the command word and the
// rest of the line after the one blank that follows the command.
struct ScriptLine {
    int number = 0;
    std::string command;
    std::string rest;
};

// A fault in a script, named by its line.
class ScriptError : public std::runtime_error {
public:
    ScriptError(int line, const std::string& message)
        : std::runtime_error("script line " + std::to_string(line) + ": " + message) {}
};

namespace Script {
// Reads a script, leaving out blank lines and lines starting with #.
std::vector<ScriptLine> parse(std::istream& in);
} // namespace Script
