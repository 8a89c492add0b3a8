#include "main/modMain.h"

#include "game/frmVarnoth.h"
#include "main/CommandLine.h"
#include "main/HighScore.h"
#include "main/Version.h"
#include "main/WindowReplay.h"
#include "tools/replay/GameRecording.h"
#include "tools/replay/ScriptRecorder.h"
#include "view/Artwork.h"
#include "view/Font.h"
#include "view/FormWindow.h"
#include "view/QtPlatform.h"
#include "view/ScriptedPlatform.h"
#include "view/VarnothForm.h"

#include <QApplication>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char* const kDesktopFileName = "io.github.varnoth.Varnoth";

bool hasDisplay() {
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") ||
           std::getenv("QT_QPA_PLATFORM");
}

int play(QApplication& app, const CommandLine& line) {
    Fonts::load();
    const Artwork artwork;
    VarnothForm form(artwork);
    QtPlatform platform;
    RegistryHighScore highScores;
    platform.onEnd = [&highScores] { highScores.FinishSaving(); };
    std::unique_ptr<ScriptRecorder> recorder;
    std::unique_ptr<RecordingPlatform> recording;
    if (!line.recordFile.empty()) {
        recorder = std::make_unique<ScriptRecorder>(line.recordFile);
        recording = std::make_unique<RecordingPlatform>(platform, *recorder);
    }
    frmVarnoth game(form, recording ? static_cast<Platform&>(*recording) : platform, highScores);
    if (recorder)
        RecordEvents(form, *recorder);
    FormWindow window(form);
    platform.SetDialogParent(&window);
    window.Show();
    return app.exec();
}

// The window shows a recorded game: the script is the only player.
int replay(QApplication& app, const CommandLine& line) {
    std::ifstream file(line.replayFile);
    if (!file)
        throw std::runtime_error("cannot read the script " + line.replayFile);
    auto script = Script::parse(file);
    Fonts::load();
    const Artwork artwork;
    VarnothForm form(artwork);
    ScriptedPlatform platform;
    RegistryHighScore highScores;
    frmVarnoth game(form, platform, highScores);
    FormWindow window(form);
    WindowReplay player(std::move(script), game, form, platform, window, line.stats);
    window.Show();
    player.Start();
    app.exec();
    return player.ExitCode();
}

} // namespace

int Main(int argc, char** argv) {
    CommandLine line;
    try {
        line = CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "varnoth: " << error.what() << "\nTry 'varnoth --help'.\n";
        return 2;
    }
    if (line.help) {
        std::cout << CommandLine::usage();
        return 0;
    }
    if (line.version) {
        std::cout << "varnoth " << kVarnothVersion << '\n';
        return 0;
    }
    if (!hasDisplay()) {
        std::cerr << "varnoth: no display to open the window on; without a screen, run it as "
                     "xvfb-run -s '-screen 0 1024x768x24' varnoth\n";
        return 1;
    }
    if (line.scale) {
        qputenv("QT_SCALE_FACTOR", QByteArray::number(*line.scale));
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    }

    // Only a few thousand pixels of the window change on a tick. Sent over the X connection
    // they cost less than through shared memory, where Qt waits before every repaint for the
    // X server to have read the last frame. A player's own setting stands.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varnoth"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVarnothVersion));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    try {
        return line.replayFile.empty() ? play(app, line) : replay(app, line);
    } catch (const std::exception& error) {
        std::cerr << "varnoth: cannot start: " << error.what() << '\n';
        return 1;
    }
}
