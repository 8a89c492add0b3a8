// The whole window as a player sees it, pixel for pixel, against pictures kept beside this
// file: every caption (whole, no glyph cut, no word pushed onto a hidden line), colour,
// picture and its stacking at once. CTest runs it at 1x, 1.5x and 2x (QT_SCALE_FACTOR), so the
// pictures are rendered for the ratio and the narrow face, which has no strike at 1.5, gives way
// to a smooth one there. After a deliberate change of the look, `bash tools/retake-pictures.sh`
// takes them again; look at each before keeping it.
#include "main/Game.h"
#include "replay/Script.h"
#include "replay/ScriptRunner.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "window/FormWindow.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRect>
#include <QTest>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

// Set by tools/retake-pictures.sh: the pictures taken now become the references.
constexpr const char* kRetake = "VARNOTH_RETAKE_PICTURES";

struct State {
    const char* name;
    std::string script; // replay lines that bring a fresh game there
};

// A direct hit: the target stands still under the beam, which reaches it on the 22nd frame.
const std::string kHit = "set lTargetStep 0\nset lTargetPos 4150\nclick\ntick 22\n";

// Each state shows the widest captions of its kind whole, or wrapped as the original wrapped
// them: the longest stage messages, 100 of 100 hits, 10 lives, the widest best score.
const State kStates[] = {
    {"fresh", ""},
    {"shot", "set lExtraPoints 500\nset lStage -1\ncall UpdateStage 0\nclick\ntick 8\n"},
    {"hit", "set lExtraPoints 580\n" + kHit},
    // The meter full before the hit that makes 99,999: the top stage's device and colours.
    {"stage10",
     "set dScore 98999\nset lExtraPoints 1050\nset lHits 99\nset lTargets 99\nset lLives 10\n" +
         kHit},
    // The last life lost after a hit that made the widest score there is.
    {"game_over", "set dScore 98999\nset lLives 0\n" + kHit +
                      "set lTargetPos 8200\ntick\ninput WWWWWWWWWWWW\ntick\n"},
};

QImage take(const State& state) {
    ScriptedPlatform platform;
    MemoryHighScores highScores;
    Game g{testArtwork(), platform, highScores};
    FormWindow window{g.form};
    window.Show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    std::ostringstream dumps;
    ScriptRunner runner(g.game, platform, dumps);
    std::istringstream script(state.script);
    for (const ScriptLine& line : Script::parse(script))
        runner.run(line);
    runner.finish();
    QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    return image;
}

// Red where the two differ, the reference faded elsewhere, and the box round the red.
std::pair<QImage, QRect> difference(const QImage& shown, const QImage& reference) {
    QImage diff = reference.convertToFormat(QImage::Format_RGB32);
    QRect box;
    for (int y = 0; y < diff.height(); ++y)
        for (int x = 0; x < diff.width(); ++x) {
            const bool same = x < shown.width() && y < shown.height() &&
                              shown.pixel(x, y) == reference.pixel(x, y);
            const int grey = 128 + qGray(reference.pixel(x, y)) / 2;
            diff.setPixel(x, y, same ? qRgb(grey, grey, grey) : qRgb(255, 0, 0));
            if (!same)
                box |= QRect(x, y, 1, 1);
        }
    return {diff, box};
}

TEST(ReferencePicture, TheWindowInEachStateMatchesItsPicture) {
    const QDir kept(QStringLiteral(VARNOTH_PICTURE_DIR));
    const double scale = qApp->devicePixelRatio(); // as QT_SCALE_FACTOR sets it
    for (const State& state : kStates) {
        const QString name = QStringLiteral("%1-%2x.png").arg(state.name).arg(scale);
        const QImage shown = take(state);
        if (qEnvironmentVariableIsSet(kRetake)) {
            EXPECT_TRUE(shown.save(kept.filePath(name), nullptr, 0)) << name.toStdString();
            continue;
        }
        const QImage reference(kept.filePath(name));
        ASSERT_FALSE(reference.isNull()) << "no reference " << name.toStdString();
        if (shown == reference.convertToFormat(QImage::Format_RGB32))
            continue;
        const auto [diff, box] = difference(shown, reference);
        const QString written = QDir::current().absoluteFilePath("diff-" + name);
        diff.save(written);
        shown.save(QDir::current().absoluteFilePath("shown-" + name));
        ADD_FAILURE() << name.toStdString() << ": " << shown.width() << "x" << shown.height()
                      << " shown against " << reference.width() << "x" << reference.height()
                      << "; pixels differ in " << box.width() << "x" << box.height() << " at "
                      << box.x() << "," << box.y() << "; the difference is in "
                      << written.toStdString();
    }
}

} // namespace
