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
// Reads a script, leaving out blank lines and lines starting with #. Throws ScriptError when
// the stream fails while being read.
std::vector<ScriptLine> parse(std::istream& in);
// Reads the script in a file (or a pipe, as /dev/stdin); throws ScriptError saying why when it
// is a directory or cannot be read.
std::vector<ScriptLine> read(const std::string& path);
// Splits one line's text into the command word and the rest after the blank that ends it.
ScriptLine split(int number, const std::string& text);
// The blank-separated words of a line's rest.
std::vector<std::string> words(const std::string& rest);
} // namespace Script
