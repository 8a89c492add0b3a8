// The GoogleTest main for every test that needs Qt: one application object on the offscreen
// platform, the game's fonts and the pictures loaded once, numbers formatted as in the US.
// All of it lives on main's stack and goes before the program exits: a Qt application torn
// down among the exit handlers would outlive the parts of Qt it still needs.
#include "tests/support/QtTestMain.h"

#include "forms/Font.h"
#include "game/Artwork.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

namespace {
const Artwork* sharedArtwork = nullptr;
}

const Artwork& testArtwork() {
    return *sharedArtwork;
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Fonts::load();
    const Artwork artwork;
    sharedArtwork = &artwork;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    sharedArtwork = nullptr;
    return result;
}
