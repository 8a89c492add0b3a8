#include "main/CommandLine.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What the program would do with a command line, in one line: the options it took, or the
// message that refused it.
std::string Outcome(const std::vector<std::string>& args) {
    try {
        const CommandLine line = CommandLine::parse(args);
        std::ostringstream out;
        if (line.help)
            out << "help ";
        if (line.version)
            out << "version ";
        if (line.scale)
            out << "scale " << *line.scale << ' ';
        if (!line.recordFile.empty())
            out << "record " << line.recordFile << ' ';
        if (!line.replayFile.empty())
            out << "replay " << line.replayFile << ' ';
        if (line.stats)
            out << "stats ";
        if (!line.qtArguments.empty()) {
            out << "qt";
            for (const std::string& arg : line.qtArguments)
                out << ' ' << arg;
        }
        std::string text = out.str();
        if (text.ends_with(' '))
            text.pop_back();
        return text;
    } catch (const std::invalid_argument& error) {
        return std::string("refused: ") + error.what();
    }
}

TEST(CommandLine, AcceptsTheGamesAndQtsOptionsAndRefusesTheRest) {
    const struct {
        std::vector<std::string> args;
        std::string outcome;
    } cases[] = {
        {{}, ""},
        {{"-h"}, "help"},
        {{"--version"}, "version"},
        {{"--scale", "0.5"}, "scale 0.5"},
        {{"--scale=8"}, "scale 8"},
        {{"--scale", "0.49"}, "refused: --scale takes a factor from 0.5 to 8, not '0.49'"},
        {{"--scale=8.01"}, "refused: --scale takes a factor from 0.5 to 8, not '8.01'"},
        {{"--scale", "2x"}, "refused: --scale takes a factor from 0.5 to 8, not '2x'"},
        {{"--scale", "nan"}, "refused: --scale takes a factor from 0.5 to 8, not 'nan'"},
        {{"--scale"}, "refused: --scale needs a value"},
        {{"--record=game.txt"}, "record game.txt"},
        {{"--record="}, "refused: --record needs a value"},
        {{"--replay", "game.txt", "--stats"}, "replay game.txt stats"},
        {{"--stats"}, "refused: --stats goes with --replay FILE"},
        {{"--record", "a.txt", "--replay", "b.txt"},
         "refused: --record and --replay cannot be used together"},
        {{"--help=yes"}, "refused: --help takes no value"},
        {{"-style", "fusion", "--scale=2"}, "scale 2 qt -style fusion"},
        {{"-style=fusion", "--platform=xcb"}, "qt -style fusion -platform xcb"},
        {{"--display", ":1", "-geometry", "600x500+0+0", "-reverse", "-sync"},
         "qt -display :1 -geometry 600x500+0+0 -reverse -sync"},
        {{"-qwindowgeometry", "520x472", "-platformtheme", "gtk3"},
         "qt -qwindowgeometry 520x472 -platformtheme gtk3"},
        {{"-reverse=1"}, "refused: -reverse takes no value"},
        {{"-platform"}, "refused: -platform needs a value"},
        {{"-scale", "2"}, "refused: unknown option '-scale'"},
        {{"--bogus=1"}, "refused: unknown option '--bogus=1'"},
        {{"game.txt"}, "refused: unknown option 'game.txt'"},
        {{"style"}, "refused: unknown option 'style'"},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const std::string& arg : c.args)
            joined += "[" + arg + "]";
        EXPECT_EQ(Outcome(c.args), c.outcome) << joined;
    }
}

} // namespace
