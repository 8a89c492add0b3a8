#include "main/CommandLine.h"
#include "main/modMain.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What the program would do with a command line, in one line: the options it took, Qt's last,
// or the message that refused it.
std::string Outcome(const std::vector<std::string>& args) try {
    const CommandLine line = CommandLine::parse(args);
    std::ostringstream out;
    out << (line.help ? " help" : "") << (line.version ? " version" : "")
        << (line.scale ? " scale " + std::to_string(*line.scale) : "")
        << (line.recordFile.empty() ? "" : " record " + line.recordFile)
        << (line.replayFile.empty() ? "" : " replay " + line.replayFile)
        << (line.stats ? " stats" : "");
    for (const std::string& arg : line.qtArguments)
        out << ' ' << arg;
    return out.str().erase(0, 1);
} catch (const std::invalid_argument& error) {
    return std::string("refused: ") + error.what();
}

} // namespace

TEST(CommandLine, AcceptsTheGamesAndQtsOptionsAndRefusesTheRest) {
    const std::string scale = "refused: --scale takes a factor from 0.5 to 8, not '";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, ""},
        {{"-h", "--version"}, "help version"},
        {{"--scale", "0.5"}, "scale 0.500000"},
        {{"--scale=8"}, "scale 8.000000"},
        {{"--scale", "0.49"}, scale + "0.49'"},
        {{"--scale=8.01"}, scale + "8.01'"},
        {{"--scale", "2x"}, scale + "2x'"},
        {{"--scale", "nan"}, scale + "nan'"},
        {{"--scale"}, "refused: --scale needs a value"},
        {{"--record="}, "refused: --record needs a value"},
        {{"--record=game.txt"}, "record game.txt"},
        {{"--replay", "game.txt", "--stats"}, "replay game.txt stats"},
        {{"--stats"}, "refused: --stats goes with --replay FILE"},
        {{"--record", "a", "--replay", "b"},
         "refused: --record and --replay cannot be used together"},
        {{"--help=yes"}, "refused: --help takes no value"},
        {{"-style", "fusion", "--scale=2"}, "scale 2.000000 -style fusion"},
        {{"--platform=xcb", "-reverse", "-sync"}, "-platform xcb -reverse -sync"},
        {{"-reverse=1"}, "refused: -reverse takes no value"},
        {{"-scale", "2"}, "refused: unknown option '-scale'"},
        {{"--bogus=1"}, "refused: unknown option '--bogus=1'"},
        {{"style"}, "refused: unknown option 'style'"},
    };
    for (const auto& [args, outcome] : cases)
        EXPECT_EQ(Outcome(args), outcome) << (args.empty() ? "" : args[0]);
    // The program itself ends a refused line with status 2 and the usage, opening nothing.
    std::string program = "varnoth", bogus = "--bogus";
    char* argv[] = {program.data(), bogus.data()};
    testing::internal::CaptureStderr();
    EXPECT_EQ(Main(2, argv), 2);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Usage: varnoth"), std::string::npos);
}
