#include "main/modMain.h"

#include "forms/ExitStatus.h"
#include "forms/Font.h"
#include "game/App.h"
#include "game/Artwork.h"
#include "main/CommandLine.h"
#include "main/Game.h"
#include "main/HighScore.h"
#include "main/Version.h"
#include "replay/Script.h"
#include "replay/ScriptRecorder.h"
#include "replay/ScriptRunner.h"
#include "replay/ScriptedPlatform.h"
#include "window/EventGuard.h"
#include "window/FormWindow.h"
#include "window/QtPlatform.h"
#include "window/WindowReplay.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QStringList>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kDesktopFileName = "io.github.varnoth.Varnoth";

// A platform or an X display named on the command line (-platform offscreen, -display :1)
// counts as much as one named in the environment.
bool hasDisplay(const QStringList& args) {
    const auto namesScreen = [](QStringView arg) {
        if (arg.startsWith(u"--"))
            arg = arg.mid(1);
        return arg == u"-platform" || arg == u"-display";
    };
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") ||
           std::getenv("QT_QPA_PLATFORM") || std::ranges::any_of(args, namesScreen);
}

// SIGTERM, SIGINT and SIGHUP: a logout, Ctrl+C in the terminal, a closed terminal.
sigset_t endingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, signal);
    return set;
}

// The ending signals end the game as closing its window does: the event loop quits, and the
// save a busy store kept is made on the way out. Blocked in every thread before Qt starts its
// first, they wait in a signalfd that the event loop reads, so none of them cuts into a
// handler or a store call. SIGKILL can't be caught: a kept save dies with the program.
class EndingSignals {
public:
    EndingSignals()
        : fd_(signalfd(-1, &set_, SFD_CLOEXEC | SFD_NONBLOCK)),
          notifier_(fd_, QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] {
            signalfd_siginfo info{};
            while (read(fd_, &info, sizeof info) == sizeof info) {
            }
            QCoreApplication::quit();
        });
    }
    ~EndingSignals() { close(fd_); }
    EndingSignals(const EndingSignals&) = delete;
    EndingSignals& operator=(const EndingSignals&) = delete;

    // Before the application object, which starts threads.
    static void block() {
        const sigset_t set = endingSignals();
        pthread_sigmask(SIG_BLOCK, &set, nullptr);
    }

private:
    const sigset_t set_ = endingSignals();
    const int fd_;
    QSocketNotifier notifier_;
};

// Qt ends the program itself, with exit(), when the display goes away: past every destructor
// and the clean-up after the event loop. The save the running game keeps is made there all the
// same; exit() takes only a plain function, so the game is reached through the one pointer
// below.
class SaveAtExit {
public:
    explicit SaveAtExit(RegistryHighScore& highScores) {
        static const bool registered = std::atexit([] {
                                           if (running_)
                                               running_->finishSaving();
                                       }) == 0;
        if (registered)
            running_ = &highScores;
    }
    ~SaveAtExit() { running_ = nullptr; }
    SaveAtExit(const SaveAtExit&) = delete;
    SaveAtExit& operator=(const SaveAtExit&) = delete;

private:
    static inline RegistryHighScore* running_ = nullptr;
};

int play(const CommandLine& line, const Artwork& artwork, RegistryHighScore& highScores) {
    QtPlatform platform;
    std::optional<ScriptRecorder> recorder;
    if (!line.recordFile.empty())
        recorder.emplace(line.recordFile);
    EventGuard guard(platform, App::Title);
    Game game(artwork, platform, highScores, recorder ? &*recorder : nullptr, guard.layer());
    FormWindow window(game.form);
    platform.setDialogParent(&window);
    window.Show();
    // No to another game, a run-time error, the close box and an ending signal all end the
    // loop here; a save still waiting for a busy store is made as highScores goes.
    const int status = QApplication::exec();
    if (!recorder)
        return status;
    // A record that could not be written whole is removed; the player is told why.
    recorder->close();
    if (recorder->writeFault().empty())
        return status;
    std::cerr << "varnoth: " << recorder->writeFault() << '\n';
    return ExitStatus::kFailure;
}

// The window shows a recorded game: the script is the only player.
int replay(const CommandLine& line, const Artwork& artwork, RegistryHighScore& highScores) {
    std::vector<ScriptLine> script;
    try {
        script = Script::read(line.replayFile);
    } catch (const ScriptError& error) {
        std::cerr << "varnoth: " << error.what() << '\n';
        return ExitStatus::kRefused;
    }
    ScriptedPlatform platform;
    Game game(artwork, platform, highScores);
    FormWindow window(game.form);
    ScriptRunner runner(game.game, platform, std::cout);
    WindowReplay player(std::move(script), runner, platform, window, line.stats);
    window.Show();
    player.start();
    QApplication::exec();
    return player.exitCode();
}

} // namespace

int Main(int argc, char** argv) {
    // Qt takes its own options (-style, -platform...) out of the arguments as it makes the
    // application object, and only then can the rest be judged. That object can't be made
    // without a display, though, and --help and --version answer on any machine; the factor
    // of --scale, too, must be known before Qt starts. So the arguments as given are read
    // first, Qt's options among them, for these three only. Whether the rest is sound can only
    // be told with a display: without one, that is all the program says.
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine early = CommandLine::parse(given);
    if (early.help) {
        std::cout << CommandLine::usage();
        return ExitStatus::kSuccess;
    }
    if (early.version) {
        std::cout << "varnoth " << kVarnothVersion << '\n';
        return ExitStatus::kSuccess;
    }
    if (!hasDisplay(given)) {
        std::cerr << "varnoth: no display to open the window on; without a screen, run it as "
                     "xvfb-run -s '-screen 0 1024x768x24' varnoth\n";
        return ExitStatus::kFailure;
    }
    if (early.scale) {
        qputenv("QT_SCALE_FACTOR", QByteArray::number(*early.scale));
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    }

    // Only a few thousand pixels of the window change on a tick. Sent over the X connection
    // they cost less than through shared memory, where Qt waits before every repaint for the
    // X server to have read the last frame. A player's own setting stands.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");

    EndingSignals::block();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varnoth"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVarnothVersion));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    const CommandLine line = CommandLine::parse(QCoreApplication::arguments());
    if (!line.fault.empty()) {
        std::cerr << "varnoth: " << line.fault << '\n'
                  << CommandLine::usageLine() << "Try 'varnoth --help' for more.\n";
        return ExitStatus::kRefused;
    }
    try {
        // What a game in the window needs, whoever plays it.
        Fonts::load();
        const Artwork artwork;
        RegistryHighScore highScores;
        const SaveAtExit saveAtExit(highScores);
        const EndingSignals endingSignals;
        return line.replayFile.empty() ? play(line, artwork, highScores)
                                       : replay(line, artwork, highScores);
    } catch (const std::exception& error) {
        std::cerr << "varnoth: cannot start: " << error.what() << '\n';
        return ExitStatus::kFailure;
    }
}
