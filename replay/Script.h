#pragma once

#include "replay/ScriptError.h"

#include <istream>
#include <string>
#include <vector>

// One meaningful line of a replay script: its number in the file, the command word and the
// rest of the line after the one blank that follows the command.
struct ScriptLine {
    int number = 0;
    std::string command;
    std::string rest;
};

namespace Script {
// Reads a script, leaving out blank lines and lines starting with #.
std::vector<ScriptLine> parse(std::istream& in);
// Splits one line's text into the command word and the rest after the blank that ends it.
ScriptLine split(int number, const std::string& text);
// The blank-separated words of a line's rest.
std::vector<std::string> words(const std::string& rest);
} // namespace Script
