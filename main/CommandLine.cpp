#include "main/CommandLine.h"

#include <charconv>
#include <stdexcept>

namespace {

constexpr double kSmallestScale = 0.5;
constexpr double kLargestScale = 8.0;

double parseScale(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= kSmallestScale) ||
        !(value <= kLargestScale))
        throw std::invalid_argument("--scale takes a factor from 0.5 to 8, not '" + text + "'");
    return value;
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size())
                throw std::invalid_argument(arg + " needs a value");
            return args[++i];
        };
        if (arg == "--help" || arg == "-h")
            line.help = true;
        else if (arg == "--version")
            line.version = true;
        else if (arg == "--scale")
            line.scale = parseScale(value());
        else if (arg == "--record")
            line.recordFile = value();
        else if (arg == "--replay")
            line.replayFile = value();
        else if (arg == "--stats")
            line.stats = true;
        else
            throw std::invalid_argument("unknown option '" + arg + "'");
    }
    if (line.stats && line.replayFile.empty())
        throw std::invalid_argument("--stats goes with --replay FILE");
    if (!line.recordFile.empty() && !line.replayFile.empty())
        throw std::invalid_argument("--record and --replay cannot be used together");
    return line;
}

std::string CommandLine::usage() {
    return "Usage: varnoth [OPTION]...\n"
           "Hit the targets crossing the tank with the measuring beam: click the FIRE button or\n"
           "press Space on it. Every hit upgrades the device; every target that gets across\n"
           "costs a life.\n"
           "\n"
           "  --scale FACTOR   draw the window FACTOR times larger (0.5 to 8; default: the\n"
           "                   desktop's own scale)\n"
           "  --record FILE    write the game as a script that replays it exactly\n"
           "  --replay FILE    play a recorded script back in the window, then quit\n"
           "  --stats          with --replay: print timing and memory figures as JSON at the end\n"
           "  --version        print the version and exit\n"
           "  --help           print this help and exit\n"
           "\n"
           "The best score is kept in $VARNOTH_REGISTRY, or else in\n"
           "$XDG_DATA_HOME/varnoth/registry.db (~/.local/share/varnoth/registry.db).\n";
}
