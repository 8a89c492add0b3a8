#pragma once

#include <stdexcept>
#include <string>

// A fault in a replay script, named by its line: what the driver prints before it stops.
class ScriptError : public std::runtime_error {
public:
    ScriptError(int line, const std::string& message)
        : std::runtime_error("script line " + std::to_string(line) + ": " + message) {}
};
