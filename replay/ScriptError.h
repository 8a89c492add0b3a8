#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A fault in a replay script, named by its line (or a script that cannot be read at all):
// what the driver prints before it stops. The message shows the script's own text with its
// control characters escaped, so a bad line cannot play tricks on the terminal.
class ScriptError : public std::runtime_error {
public:
    ScriptError(int line, const std::string& message);
    explicit ScriptError(const std::string& message);

    // text with every control character, every byte that is no part of a UTF-8 character and
    // every backslash written as an escape: "\x1b", "\xff", "\\".
    static std::string printable(std::string_view text);
};
