#include "replay/Script.h"

namespace {
constexpr const char* kBlanks = " \t";
}

std::vector<ScriptLine> Script::parse(std::istream& in) {
    std::vector<ScriptLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const auto start = text.find_first_not_of(kBlanks);
        if (start != std::string::npos && text[start] != '#')
            lines.push_back(split(number, text));
    }
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
