#pragma once

#include <string>

class QString;

// The few pieces of JSON the replay driver writes, always the same way for the same value,
// so traces can be compared line by line. Not QJsonDocument: it writes a line break as \n
// where traces have always had \u000a, and it knows only doubles, so a Single such as the
// target's speed would print as its long double expansion instead of as the game shows it.
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
