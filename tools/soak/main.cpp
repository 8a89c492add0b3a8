// varnoth-soak: a long evening of random play, checking the state record's rules after
// every event and the memory the game holds. See --help.
#include "main/HighScore.h"
#include "replay/Game.h"
#include "replay/SoakPlayer.h"
#include "view/Artwork.h"
#include "view/Font.h"
#include "view/ScriptedPlatform.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr long long kWarmUpTicks = 10'000;
constexpr double kAllowedGrowthMiB = 1.0;

struct Options {
    long long ticks = 1'000'000;
    std::uint32_t start = 1;
    std::string scriptFile;
    bool memoryCheck = true;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 < argc && arg == "--ticks")
            options.ticks = std::stoll(argv[++i]);
        else if (i + 1 < argc && arg == "--start")
            options.start = static_cast<std::uint32_t>(std::stoul(argv[++i]));
        else if (i + 1 < argc && arg == "--script")
            options.scriptFile = argv[++i];
        else if (arg == "--no-memory-check")
            options.memoryCheck = false;
        else
            throw std::invalid_argument(
                "usage: varnoth-soak [--ticks N] [--start N] [--script FILE] [--no-memory-check]\n"
                "Plays N state ticks (default 1000000) of random games; --start picks the random\n"
                "sequence; --script writes the events as a replay script. --no-memory-check skips\n"
                "the check that memory stays flat (a sanitizer's own bookkeeping grows).");
    }
    return options;
}

double residentMiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> kib;
            break;
        }
        status.ignore(1 << 12, '\n');
    }
    return kib / 1024.0;
}

// One program run of the game: a new window's elements and game, as after a restart. The
// player carries on in a new one when the last game ended with No to another round.
struct Session {
    explicit Session(const Artwork& artwork, std::uint32_t start)
        : game(artwork, platform, highScores),
          player(game.game, platform, game.form.tmrState, start) {
        game.Start();
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
        std::cerr << error.what() << '\n';
        return 2;
    }
    QTemporaryDir storeDir;
    if (!std::getenv("VARNOTH_REGISTRY"))
        qputenv("VARNOTH_REGISTRY", storeDir.filePath(QStringLiteral("store.db")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Fonts::load();
    const Artwork artwork;

    std::ofstream script;
    if (!options.scriptFile.empty())
        script.open(options.scriptFile);
    long long ticks = 0;
    long long events = 0;
    long long hits = 0;
    double warmedUpMiB = 0;
    std::uint32_t start = options.start;
    try {
        while (ticks < options.ticks) {
            auto session = std::make_unique<Session>(artwork, start++);
            if (script.is_open())
                session->player.onLine = [&script](const std::string& line) {
                    script << line << '\n';
                };
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
    } catch (const std::logic_error& broken) {
        std::cerr << "varnoth-soak: rule broken at " << broken.what()
                  << "\nreplay it: varnoth-soak --ticks " << options.ticks << " --start "
                  << options.start << " --script FILE\n";
        std::cout << "0 passed, 1 failed\n";
        return 1;
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
    return flat ? 0 : 1;
}
