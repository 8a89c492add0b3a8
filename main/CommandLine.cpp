#include "main/CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>
#include <string_view>

namespace {

constexpr double kSmallestScale = 0.5;
constexpr double kLargestScale = 8.0;

struct QtOption {
    std::string_view name;
    bool takesValue;
};

// The options that QGuiApplication, its X11 platform and QApplication take from the command
// line, with one dash or two. Here, as for the game's own, a value may follow '=' too; Qt gets
// it as the next word, the one form it reads for every option.
constexpr std::array kQtOptions = {
    QtOption{"platform", true},
    QtOption{"platformpluginpath", true},
    QtOption{"platformtheme", true},
    QtOption{"plugin", true},
    QtOption{"qwindowgeometry", true},
    QtOption{"qwindowtitle", true},
    QtOption{"qwindowicon", true},
    QtOption{"reverse", false},
    QtOption{"session", true},
    QtOption{"display", true},
    QtOption{"geometry", true},
    QtOption{"title", true},
    QtOption{"icon", true},
    QtOption{"name", true},
    QtOption{"sync", false},
    QtOption{"style", true},
    QtOption{"stylesheet", true},
    QtOption{"widgetcount", false},
};

const QtOption* findQtOption(std::string_view name) {
    const auto found = std::ranges::find(kQtOptions, name, &QtOption::name);
    return found == kQtOptions.end() ? nullptr : &*found;
}

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
        const std::size_t dashes = arg.starts_with("--") ? 2 : arg.starts_with('-') ? 1 : 0;
        const std::size_t equals = arg.find('=');
        // The option as written, without an attached =VALUE: "--scale", "-style".
        const std::string option = arg.substr(0, equals);
        const std::string name = option.substr(dashes);
        const auto value = [&] {
            std::string text;
            if (equals != std::string::npos)
                text = arg.substr(equals + 1);
            else if (i + 1 < args.size())
                text = args[++i];
            if (text.empty())
                throw std::invalid_argument(option + " needs a value");
            return text;
        };
        const auto noValue = [&] {
            if (equals != std::string::npos)
                throw std::invalid_argument(option + " takes no value");
        };
        const QtOption* qtOption = dashes > 0 ? findQtOption(name) : nullptr;
        if (option == "--help" || option == "-h") {
            noValue();
            line.help = true;
        } else if (option == "--version") {
            noValue();
            line.version = true;
        } else if (option == "--scale") {
            line.scale = parseScale(value());
        } else if (option == "--record") {
            line.recordFile = value();
        } else if (option == "--replay") {
            line.replayFile = value();
        } else if (option == "--stats") {
            noValue();
            line.stats = true;
        } else if (qtOption) {
            line.qtArguments.push_back("-" + name);
            if (qtOption->takesValue)
                line.qtArguments.push_back(value());
            else
                noValue();
        } else {
            throw std::invalid_argument("unknown option '" + arg + "'");
        }
    }
    if (line.stats && line.replayFile.empty())
        throw std::invalid_argument("--stats goes with --replay FILE");
    if (!line.recordFile.empty() && !line.replayFile.empty())
        throw std::invalid_argument("--record and --replay cannot be used together");
    return line;
}

std::string CommandLine::usageLine() {
    return "Usage: varnoth [OPTION]... [QT-OPTION]...\n";
}

std::string CommandLine::usage() {
    return usageLine() +
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
           "An option's value may also follow an equals sign: --scale=2.\n"
           "\n"
           "Qt's own options are passed on to Qt: -style NAME, -stylesheet FILE, -platform NAME,\n"
           "-platformtheme NAME, -reverse, -qwindowgeometry WxH+X+Y, -qwindowtitle TITLE,\n"
           "-qwindowicon FILE, -session ID, -plugin NAME, -platformpluginpath DIR, -widgetcount,\n"
           "and on X11 -display DISPLAY, -geometry WxH+X+Y, -title TITLE, -icon FILE, -name NAME\n"
           "and -sync.\n"
           "\n"
           "The best score is kept in $VARNOTH_REGISTRY, or else in\n"
           "$XDG_DATA_HOME/varnoth/registry.db (~/.local/share/varnoth/registry.db).\n";
}
