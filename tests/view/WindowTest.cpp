// The game in its real window on the offscreen screen, played with real mouse and key events.
#include "game/frmVarnoth.h"
#include "replay/Game.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "view/FormWindow.h"
#include "view/PictureBoxWidget.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Window : public ::testing::Test {
protected:
    Window() {
        window.Show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    ScriptedPlatform platform;
    MemoryHighScores highScores;
    Game g{SharedArtwork(), platform, highScores};
    FormWindow window{g.form};
    QWidget* fire = window.pictureBoxWidget(QStringLiteral("picFire"));
    Long& state = g.game.Record().lGameState;
};

TEST_F(Window, StartsCentredWithTheFocusOnTheFireButton) {
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    // Placed before its frame is known, it may be off by the frame's size, no more.
    const QSize frame = window.frameGeometry().size() - window.size();
    EXPECT_LE((window.geometry().center() - middle).manhattanLength(),
              frame.width() + frame.height());
    EXPECT_EQ(QApplication::focusWidget(), fire);
    QTest::keyClick(window.windowHandle(), Qt::Key_Space);
    EXPECT_EQ(state, 2);
}

// A click is a press and a release over the button: slipping off before the release is none.
TEST_F(Window, FireButtonFiresOnAReleaseOverIt) {
    const QPoint inside = fire->rect().center();
    QTest::mousePress(fire, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(fire, Qt::LeftButton, {}, inside + QPoint(0, fire->height()));
    EXPECT_EQ(state, 1);
    QTest::mousePress(fire, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(fire, Qt::LeftButton, {}, inside);
    EXPECT_EQ(state, 2);
}

// Labels lie over the pictures and show on them: the score on the computer's screen, and
// the lives count in the middle of its framed box on the panel.
TEST_F(Window, LabelsShowOverThePicturesAndTheLivesCountIsCentred) {
    const auto shown = [this](const Label& label) {
        QImage image(window.size(), QImage::Format_RGB32);
        window.render(&image);
        const QRectF r = label.Bounds();
        return image.copy(QRect(r.x() / 15, r.y() / 15, r.width() / 15, r.height() / 15));
    };
    const QImage score = shown(g.form.lblScore);
    g.form.lblScore.SetCaption(QStringLiteral("88,888"));
    EXPECT_NE(shown(g.form.lblScore), score);

    const QImage lives = shown(g.form.lblLives);
    int first = lives.width(), last = -1;
    for (int x = 2; x < lives.width() - 2; ++x)
        for (int y = 2; y < lives.height() - 2; ++y)
            if (qGray(lives.pixel(x, y)) < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    ASSERT_LE(first, last) << "no ink in the lives box";
    EXPECT_NEAR((first + last + 1) / 2.0, lives.width() / 2.0, 1.0);
}

} // namespace
