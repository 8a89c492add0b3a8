#include "main/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

constexpr double kSmallestScale = 0.5;
constexpr double kLargestScale = 8.0;

} // namespace

CommandLine CommandLine::parse(const QStringList& args) {
    QCommandLineParser parser;
    // One dash or two, as for Qt's own options: -stylesheet is never read as -s -t -y...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption scale(QStringLiteral("scale"), {}, QStringLiteral("FACTOR"));
    const QCommandLineOption record(QStringLiteral("record"), {}, QStringLiteral("FILE"));
    const QCommandLineOption replay(QStringLiteral("replay"), {}, QStringLiteral("FILE"));
    const QCommandLineOption stats(QStringLiteral("stats"));
    parser.addOptions({help, version, scale, record, replay, stats});
    const bool parsed = parser.parse(args);

    CommandLine line;
    line.help = parser.isSet(help);
    line.version = parser.isSet(version);
    line.recordFile = parser.value(record).toStdString();
    line.replayFile = parser.value(replay).toStdString();
    line.stats = parser.isSet(stats);
    bool isNumber = false;
    const double factor = parser.value(scale).toDouble(&isNumber);
    if (isNumber && factor >= kSmallestScale && factor <= kLargestScale)
        line.scale = factor;

    if (!parsed)
        line.fault = parser.errorText().toStdString();
    else if (!parser.positionalArguments().isEmpty())
        line.fault =
            "unexpected argument '" + parser.positionalArguments().first().toStdString() + "'";
    else if (parser.isSet(scale) && !line.scale)
        line.fault =
            "--scale takes a factor from 0.5 to 8, not '" + parser.value(scale).toStdString() + "'";
    else if (parser.isSet(record) && line.recordFile.empty())
        line.fault = "--record needs a FILE";
    else if (parser.isSet(replay) && line.replayFile.empty())
        line.fault = "--replay needs a FILE";
    else if (line.stats && line.replayFile.empty())
        line.fault = "--stats goes with --replay FILE";
    else if (!line.recordFile.empty() && !line.replayFile.empty())
        line.fault = "--record and --replay cannot be used together";
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
           "and on X11 -display DISPLAY, -geometry WxH+X+Y, -title TITLE, -icon FILE and\n"
           "-name NAME.\n"
           "\n"
           "The best score is kept in $VARNOTH_REGISTRY, or else in\n"
           "$XDG_DATA_HOME/varnoth/registry.db (~/.local/share/varnoth/registry.db).\n";
}
