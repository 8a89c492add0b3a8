#include "tools/replay/Script.h"

#include <sstream>

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

std::vector<std::string> Script::words(const std::string& rest) {
    std::istringstream in(rest);
    std::vector<std::string> out;
    for (std::string word; in >> word;)
        out.push_back(std::move(word));
    return out;
}
