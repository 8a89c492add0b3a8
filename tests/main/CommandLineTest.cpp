#include "main/CommandLine.h"
#include "main/Version.h"
#include "main/modMain.h"

#include <QStringList>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

// What the program reads from a command line, in one line: the options it took, then why it
// refuses the line, if it does.
std::string outcome(const QStringList& args) {
    const CommandLine line = CommandLine::parse(QStringList{QStringLiteral("varnoth")} + args);
    std::string out = std::string(line.help ? " help" : "") + (line.version ? " version" : "") +
                      (line.scale ? " scale " + QString::number(*line.scale).toStdString() : "") +
                      (line.recordFile.empty() ? "" : " record " + line.recordFile) +
                      (line.replayFile.empty() ? "" : " replay " + line.replayFile) +
                      (line.stats ? " stats" : "") +
                      (line.fault.empty() ? "" : " refused: " + line.fault);
    return out.erase(0, 1);
}

} // namespace

TEST(CommandLine, TakesTheGamesOptionsAndRefusesTheRest) {
    const std::string scale = "refused: --scale takes a factor from 0.5 to 8, not '";
    const std::pair<QStringList, std::string> cases[] = {
        {{}, ""},
        {{"-h", "--version"}, "help version"},
        {{"--scale", "0.5"}, "scale 0.5"},
        {{"-scale=8"}, "scale 8"},
        {{"--scale", "0.49"}, scale + "0.49'"},
        {{"--scale=8.01"}, scale + "8.01'"},
        {{"--scale", "2x"}, scale + "2x'"},
        {{"--scale", "nan"}, scale + "nan'"},
        {{"--scale"}, "refused: Missing value after '--scale'."},
        {{"--record="}, "refused: --record needs a FILE"},
        {{"--replay="}, "refused: --replay needs a FILE"},
        {{"--record=game.txt"}, "record game.txt"},
        {{"--replay", "game.txt", "--stats"}, "replay game.txt stats"},
        {{"--stats"}, "stats refused: --stats goes with --replay FILE"},
        {{"--record", "a", "--replay", "b"},
         "record a replay b refused: --record and --replay cannot be used together"},
        {{"--help=yes"}, "help refused: Unexpected value after '--help'."},
        // Qt's options left in, as the program first reads them: --version and --scale are
        // seen all the same.
        {{"-style", "fusion", "--version", "--scale=2"},
         "version scale 2 refused: Unknown option 'style'."},
        {{"--bogus=1", "-x"}, "refused: Unknown options: bogus, x."},
        {{"style"}, "refused: unexpected argument 'style'"},
    };
    for (const auto& [args, expected] : cases) {
        EXPECT_EQ(outcome(args), expected) << args.join(' ').toStdString();
    }
    // The program itself: --version answers before Qt starts, even as the first argument.
    const auto run = [](std::vector<std::string> words) {
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        return Main(static_cast<int>(argv.size()), argv.data());
    };
    testing::internal::CaptureStdout();
    EXPECT_EQ(run({"varnoth", "--version"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "varnoth " + std::string(kVarnothVersion) + "\n");
    // Without a display the program says how to start it on none. A platform named with two
    // dashes is a display too, and a scale is the screen's from the start; Qt takes its own
    // options, and the program refuses what is left with status 2 and the usage, opening nothing.
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        unsetenv(display);
    testing::internal::CaptureStderr();
    EXPECT_EQ(run({"varnoth"}), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "varnoth: no display to open the window on; without a screen, run it as xvfb-run -s "
              "'-screen 0 1024x768x24' varnoth\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(
        run({"varnoth", "-style", "fusion", "--platform", "offscreen", "--scale=1.5", "--bogus"}),
        2);
    EXPECT_EQ(qgetenv("QT_SCALE_FACTOR"), "1.5");
    // After whatever Qt itself warns of as it starts.
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(errors.ends_with("varnoth: Unknown option 'bogus'.\n" + CommandLine::usageLine() +
                                 "Try 'varnoth --help' for more.\n"))
        << errors;
}
