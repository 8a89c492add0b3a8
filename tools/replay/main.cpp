// varnoth-replay: runs a replay script on the game with no window on screen and prints
// what it did. See README.md for the script's lines.
#include "main/HighScore.h"
#include "replay/Game.h"
#include "replay/Script.h"
#include "replay/ScriptRunner.h"
#include "view/Artwork.h"
#include "view/Font.h"
#include "view/ScriptedPlatform.h"

#include <QGuiApplication>
#include <QLocale>
#include <fstream>
#include <iostream>
#include <memory>

namespace {

constexpr int kScriptFault = 2;

int replay(std::istream& in) {
    const Artwork artwork;
    ScriptedPlatform platform;
    RegistryHighScore highScores;
    Game game(artwork, platform, highScores);
    ScriptRunner runner(game, platform, std::cout);
    try {
        game.Start();
        for (const ScriptLine& line : Script::parse(in))
            runner.Run(line);
        runner.Finish();
    } catch (const ProgramEnded&) {
        std::cout << "{\"ended\":true}\n";
    } catch (const ScriptError& fault) {
        std::cout.flush();
        std::cerr << "varnoth-replay: " << fault.what() << '\n';
        return kScriptFault;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string locale = "en_US";
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--locale" && i + 1 < argc)
            locale = argv[++i];
        else if (scriptPath.empty() && !arg.starts_with("--"))
            scriptPath = arg;
        else {
            std::cerr << "usage: varnoth-replay [--locale NAME] [SCRIPT]\n";
            return kScriptFault;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QString::fromStdString(locale)));
    try {
        Fonts::load();
        if (scriptPath.empty())
            return replay(std::cin);
        std::ifstream file(scriptPath);
        if (!file) {
            std::cerr << "varnoth-replay: cannot read " << scriptPath << '\n';
            return kScriptFault;
        }
        return replay(file);
    } catch (const std::exception& error) {
        std::cerr << "varnoth-replay: " << error.what() << '\n';
        return 1;
    }
}
