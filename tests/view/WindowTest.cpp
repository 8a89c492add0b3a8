// The game in its real window on the offscreen screen, played with real mouse and key events.
#include "game/frmVarnoth.h"
#include "replay/Game.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "tests/view/Render.h"
#include "view/FormWindow.h"
#include "view/PictureBoxWidget.h"
#include "view/ScriptedPlatform.h"
#include "view/Twips.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(Window, StartsCentredReadyToFireWithTheLivesCountCentred) {
    ScriptedPlatform platform;
    MemoryHighScores highScores;
    Game g{SharedArtwork(), platform, highScores};
    FormWindow window{g.form};
    window.Show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* fire = window.pictureBoxWidget(QStringLiteral("picFire"));
    Long& state = g.game.Record().lGameState;

    // Placed before its frame is known, it may be off by the frame's size, no more.
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    const QSize frame = window.frameGeometry().size() - window.size();
    EXPECT_LE((window.geometry().center() - middle).manhattanLength(),
              frame.width() + frame.height());
    EXPECT_EQ(QApplication::focusWidget(), fire);
    QTest::keyClick(window.windowHandle(), Qt::Key_Space);
    EXPECT_EQ(state, 2);

    // A click is a press and a release over the button: slipping off before the release is none.
    state = 1;
    const QPoint inside = fire->rect().center();
    QTest::mousePress(fire, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(fire, Qt::LeftButton, {}, inside + QPoint(0, fire->height()));
    EXPECT_EQ(state, 1);
    QTest::mousePress(fire, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(fire, Qt::LeftButton, {}, inside);
    EXPECT_EQ(state, 2);

    // The lives count sits in the middle of its framed box on the panel.
    QImage shown(window.size(), QImage::Format_RGB32);
    window.render(&shown);
    const QImage lives =
        shown.copy(twips::toPixels(g.form.lblLives.Bounds()).adjusted(2, 2, -2, -2));
    const QRect ink = Ink(lives, lives.pixel(0, 0));
    ASSERT_FALSE(ink.isEmpty()) << "no ink in the lives box";
    EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, lives.width() / 2.0, 1.0);
}

} // namespace
