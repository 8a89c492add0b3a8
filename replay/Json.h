#pragma once

#include <string>

class QString;

// The few pieces of JSON the replay driver writes, always the same way for the same value,
// so traces can be compared line by line.
namespace Json {
// Quoted, with quotes, backslashes and every control character escaped (\u000a for a line
// break); everything else as UTF-8.
std::string string(const QString& text);
// The shortest decimal that reads back as the same value; whole values without a point.
std::string number(double value);
std::string number(float value);
inline std::string boolean(bool value) {
    return value ? "true" : "false";
}
} // namespace Json
