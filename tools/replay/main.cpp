// varnoth-replay: runs a replay script on the game with no window on screen and prints
// what it did. See README.md for the script's lines.
#include "forms/ExitStatus.h"
#include "forms/Font.h"
#include "game/Artwork.h"
#include "main/Game.h"
#include "main/HighScore.h"
#include "replay/Script.h"
#include "replay/ScriptRunner.h"
#include "replay/ScriptedPlatform.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLocale>
#include <iostream>
#include <string>
#include <vector>

namespace {

[[nodiscard]] int fault(const ScriptError& error) {
    std::cout.flush();
    std::cerr << "varnoth-replay: " << error.what() << '\n';
    return ExitStatus::kRefused;
}

int replay(const std::string& scriptPath) {
    std::vector<ScriptLine> script;
    try {
        script = scriptPath.empty() ? Script::parse(std::cin) : Script::read(scriptPath);
    } catch (const ScriptError& error) {
        return fault(error);
    }
    const Artwork artwork;
    ScriptedPlatform platform;
    RegistryHighScore highScores;
    Game game(artwork, platform, highScores);
    ScriptRunner runner(game.game, platform, std::cout);
    try {
        game.start();
        for (const ScriptLine& line : script)
            runner.run(line);
        runner.finish();
    } catch (const ProgramEnded&) {
        std::cout << "{\"ended\":true}\n";
    } catch (const ScriptError& error) {
        return fault(error);
    }
    return ExitStatus::kSuccess;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption locale(QStringLiteral("locale"), {}, QStringLiteral("NAME"),
                                    QStringLiteral("en_US"));
    parser.addOption(locale);
    if (!parser.parse(QCoreApplication::arguments()) || parser.positionalArguments().size() > 1) {
        std::cerr << "usage: varnoth-replay [--locale NAME] [SCRIPT]\n";
        return ExitStatus::kRefused;
    }
    QLocale::setDefault(QLocale(parser.value(locale)));
    try {
        Fonts::load();
        return replay(parser.positionalArguments().value(0).toStdString());
    } catch (const std::exception& error) {
        std::cerr << "varnoth-replay: " << error.what() << '\n';
        return ExitStatus::kFailure;
    }
}
