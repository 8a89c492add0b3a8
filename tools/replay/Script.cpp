#include "tools/replay/Script.h"

std::vector<ScriptLine> Script::parse(std::istream& in) {
    std::vector<ScriptLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const auto start = text.find_first_not_of(" \t");
        if (start == std::string::npos || text[start] == '#')
            continue;
        const auto end = text.find_first_of(" \t", start);
        ScriptLine line{number, text.substr(start, end - start), {}};
        // `type` and `input` keep every blank after the one that ends the command.
        if (end != std::string::npos)
            line.rest = text.substr(end + 1);
        lines.push_back(std::move(line));
    }
    return lines;
}
