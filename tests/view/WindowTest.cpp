// The game in its real window on the offscreen screen, played with real mouse and key events.
#include "game/frmVarnoth.h"
#include "replay/Game.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "view/FormWindow.h"
#include "view/PictureBoxWidget.h"
#include "view/ScriptedPlatform.h"

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

// The lives count stands in the middle of its framed box, as drawn.
TEST_F(Window, LivesCountIsCentredInItsBox) {
    QImage image(window.size(), QImage::Format_RGB32);
    window.render(&image);
    const QRect box(6800 / 15, 6360 / 15, 360 / 15, 225 / 15);
    int first = box.right(), last = box.left();
    for (int x = box.left() + 2; x < box.right() - 1; ++x)
        for (int y = box.top() + 2; y < box.bottom() - 1; ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    ASSERT_LE(first, last) << "no ink in the lives box";
    EXPECT_NEAR((first + last + 1) / 2.0, (6800 + 180) / 15.0, 1.0);
}

} // namespace
