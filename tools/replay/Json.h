#pragma once

#include <QString>
#include <string>

// The few pieces of JSON the replay driver writes, always the same way for the same value,
// so traces can be compared line by line.
namespace Json {
std::string string(const QString& text);
// The shortest decimal that reads back as the same value; whole values without a point.
std::string number(double value);
std::string number(float value);
inline std::string boolean(bool value) {
    return value ? "true" : "false";
}
} // namespace Json
