#include "replay/Script.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

constexpr const char* kBlanks = " \t";

std::vector<ScriptLine> meaningfulLines(std::istream& in) {
    std::vector<ScriptLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const auto start = text.find_first_not_of(kBlanks);
        if (start != std::string::npos && text[start] != '#')
            lines.push_back(Script::split(number, text));
    }
    return lines;
}

} // namespace

std::vector<ScriptLine> Script::parse(std::istream& in) {
    auto lines = meaningfulLines(in);
    if (in.bad())
        throw ScriptError(std::string("cannot read the script: ") + std::strerror(errno));
    return lines;
}

// A directory opens as a stream too; only reading it fails, and then badly, not as an end.
std::vector<ScriptLine> Script::read(const std::string& path) {
    const auto unreadable = [&path] {
        return ScriptError("cannot read " + path + ": " + std::strerror(errno));
    };
    std::ifstream file(path);
    if (!file)
        throw unreadable();
    auto lines = meaningfulLines(file);
    if (file.bad())
        throw unreadable();
    return lines;
}

ScriptLine Script::split(int number, const std::string& text) {
    ScriptLine line{number, {}, {}};
    const auto start = text.find_first_not_of(kBlanks);
    if (start == std::string::npos)
        return line;
    const auto end = text.find_first_of(kBlanks, start);
    line.command = text.substr(start, end - start);
    // `type` and `input` keep every blank after the one that ends the command.
    if (end != std::string::npos)
        line.rest = text.substr(end + 1);
    return line;
}

// Split by hand: the window's replay asks this on every tick, and a string stream costs more
// than the tick itself.
std::vector<std::string> Script::words(const std::string& rest) {
    constexpr const char* kWhiteSpace = " \t\n\v\f\r";
    std::vector<std::string> out;
    for (auto start = rest.find_first_not_of(kWhiteSpace); start != std::string::npos;) {
        const auto end = rest.find_first_of(kWhiteSpace, start);
        out.push_back(rest.substr(start, end - start));
        start = rest.find_first_not_of(kWhiteSpace, end);
    }
    return out;
}
