// varnoth-soak: a long evening of random play, checking the state record's rules after
// every event and the memory the game holds. See --help.
#include "forms/ExitStatus.h"
#include "forms/Font.h"
#include "game/Artwork.h"
#include "main/Game.h"
#include "main/HighScore.h"
#include "replay/ScriptError.h"
#include "replay/ScriptedPlatform.h"
#include "replay/SoakPlayer.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

constexpr long long kWarmUpTicks = 10'000;
constexpr double kAllowedGrowthMiB = 1.0;

struct Options {
    long long ticks = 1'000'000;
    std::uint32_t start = 1;
    std::string scriptFile;
    bool memoryCheck = true;
    bool help = false;
};

constexpr const char* kUsage =
    "usage: varnoth-soak [--ticks N] [--start N] [--script FILE] [--no-memory-check]\n"
    "Plays N state ticks (default 1000000) of random games; --start picks the random\n"
    "sequence (0 to 4294967295); --script writes the events as a replay script.\n"
    "--no-memory-check skips the check that memory stays flat (a sanitizer's own\n"
    "bookkeeping grows).";

// The value of a whole-number option, from `least` to `most`.
qulonglong wholeNumber(const QCommandLineParser& parser, const QCommandLineOption& option,
                       qulonglong least, qulonglong most) {
    bool isNumber = false;
    const QString text = parser.value(option);
    const qulonglong value = text.toULongLong(&isNumber);
    if (!isNumber || value < least || value > most)
        throw std::invalid_argument(
            QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\"")
                .arg(option.names().constFirst())
                .arg(least)
                .arg(most)
                .arg(QString::fromStdString(ScriptError::printable(text.toStdString())))
                .toStdString());
    return value;
}

Options parse(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    const QCommandLineOption ticks(QStringLiteral("ticks"), {}, QStringLiteral("N"));
    const QCommandLineOption start(QStringLiteral("start"), {}, QStringLiteral("N"));
    const QCommandLineOption script(QStringLiteral("script"), {}, QStringLiteral("FILE"));
    const QCommandLineOption noMemoryCheck(QStringLiteral("no-memory-check"));
    const QCommandLineOption help(QStringLiteral("help"));
    parser.addOptions({ticks, start, script, noMemoryCheck, help});
    if (!parser.parse(args))
        throw std::invalid_argument(ScriptError::printable(parser.errorText().toStdString()) +
                                    "\n" + kUsage);
    if (!parser.positionalArguments().isEmpty())
        throw std::invalid_argument(
            "unknown option \"" +
            ScriptError::printable(parser.positionalArguments().constFirst().toStdString()) +
            "\"\n" + kUsage);
    Options options;
    if (parser.isSet(ticks))
        options.ticks = static_cast<long long>(
            wholeNumber(parser, ticks, 1, std::numeric_limits<long long>::max()));
    if (parser.isSet(start))
        options.start = static_cast<std::uint32_t>(
            wholeNumber(parser, start, 0, std::numeric_limits<std::uint32_t>::max()));
    options.scriptFile = parser.value(script).toStdString();
    options.memoryCheck = !parser.isSet(noMemoryCheck);
    options.help = parser.isSet(help);
    return options;
}

// The second figure of statm is the resident set, in pages.
double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    long long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident * sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// One program run of the game: a new window's elements and game, as after a restart. The
// player carries on in a new one when the last game ended with No to another round.
struct Session {
    Session(const Artwork& artwork, std::uint32_t start, const SoakPlayer::LineOut& onLine)
        : game(artwork, platform, highScores), player(game.game, platform, start, onLine) {
        game.start();
    }
    ScriptedPlatform platform;
    RegistryHighScore highScores;
    Game game;
    SoakPlayer player;
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parse(argc, argv);
    } catch (const std::exception& error) {
        std::cerr << "varnoth-soak: " << error.what() << '\n';
        return ExitStatus::kRefused;
    }
    if (options.help) {
        std::cout << kUsage << '\n';
        return ExitStatus::kSuccess;
    }
    std::ofstream script;
    if (!options.scriptFile.empty()) {
        script.open(options.scriptFile);
        if (!script) {
            std::cerr << "varnoth-soak: cannot write " << ScriptError::printable(options.scriptFile)
                      << ": " << std::strerror(errno) << '\n';
            return ExitStatus::kRefused;
        }
    }
    QTemporaryDir storeDir;
    if (!std::getenv("VARNOTH_REGISTRY"))
        qputenv("VARNOTH_REGISTRY", storeDir.filePath(QStringLiteral("store.db")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Fonts::load();
    const Artwork artwork;

    // The cause of the script's first failed write, kept before later calls change errno.
    int scriptFault = 0;
    long long ticks = 0;
    long long events = 0;
    long long hits = 0;
    double warmedUpMiB = 0;
    std::uint32_t start = options.start;
    SoakPlayer::LineOut writeLine;
    if (script.is_open())
        writeLine = [&script, &scriptFault](const std::string& line) {
            script << line << '\n';
            if (!script && scriptFault == 0)
                scriptFault = errno;
        };
    try {
        while (ticks < options.ticks) {
            auto session = std::make_unique<Session>(artwork, start++, writeLine);
            while (ticks < options.ticks && !session->player.ended()) {
                const long long before = session->player.ticks();
                const bool warmingUp = ticks < kWarmUpTicks;
                session->player.play(
                    (warmingUp ? std::min(kWarmUpTicks, options.ticks) : options.ticks) - ticks);
                ticks += session->player.ticks() - before;
                if (warmingUp && ticks >= kWarmUpTicks)
                    warmedUpMiB = residentMiB();
            }
            events += session->player.events();
            hits += session->player.hits();
        }
    } catch (const std::exception& error) {
        const bool broken = dynamic_cast<const std::logic_error*>(&error) != nullptr;
        std::cerr << "varnoth-soak: " << (broken ? "rule broken at " : "the game failed: ")
                  << error.what() << "\nreplay it: varnoth-soak --ticks " << options.ticks
                  << " --start " << options.start << " --script FILE\n";
        std::cout << "0 passed, 1 failed\n";
        return ExitStatus::kFailure;
    }
    if (script.is_open() && !script.flush() && scriptFault == 0)
        scriptFault = errno;
    if (script.is_open() && !script) {
        std::cerr << "varnoth-soak: cannot write " << ScriptError::printable(options.scriptFile)
                  << ": " << std::strerror(scriptFault) << '\n';
        return ExitStatus::kFailure;
    }
    const double finalMiB = residentMiB();
    std::cout << "{\"ticks\":" << ticks << ",\"events\":" << events << ",\"hits\":" << hits
              << ",\"rss_after_10000_ticks_mib\":" << warmedUpMiB
              << ",\"rss_at_end_mib\":" << finalMiB << "}\n";
    const bool flat = !options.memoryCheck || options.ticks < kWarmUpTicks ||
                      finalMiB - warmedUpMiB <= kAllowedGrowthMiB;
    if (!flat)
        std::cerr << "varnoth-soak: resident memory grew by " << finalMiB - warmedUpMiB << " MiB\n";
    std::cout << (flat ? "1 passed, 0 failed\n" : "0 passed, 1 failed\n");
    return flat ? ExitStatus::kSuccess : ExitStatus::kFailure;
}
