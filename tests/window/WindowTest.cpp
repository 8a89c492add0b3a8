// The game in its real window on the offscreen screen: played with real mouse events, each
// frame repainted where it changed without leaving anything behind.
#include "forms/Event.h"
#include "game/frmVarnoth.h"
#include "main/Game.h"
#include "replay/ScriptedPlatform.h"
#include "tests/support/MemoryHighScores.h"
#include "tests/support/QtTestMain.h"
#include "window/EventGuard.h"
#include "window/FormWindow.h"
#include "window/PictureBoxWidget.h"
#include "window/QtPlatform.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(Window, StartsCentredReadyToFire) {
    ScriptedPlatform platform;
    MemoryHighScores highScores;
    Game g{testArtwork(), platform, highScores};
    FormWindow window{g.form};
    window.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* fire = window.pictureBoxWidget(QStringLiteral("picFire"));
    const Long& state = g.game.Record().lGameState;

    // Placed before its frame is known, it may be off by the frame's size, no more.
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    const QSize frame = window.frameGeometry().size() - window.size();
    EXPECT_LE((window.geometry().center() - middle).manhattanLength(),
              frame.width() + frame.height());
    EXPECT_EQ(QApplication::focusWidget(), fire);

    // Of a screen reader's actions on the button, only its press fires.
    QAccessible::queryAccessibleInterface(fire)->actionInterface()->doAction(
        QAccessibleActionInterface::setFocusAction());
    QApplication::processEvents();
    EXPECT_EQ(state, 1);

    // A click is a press and a release over the button: slipping off before the release is none.
    const QPoint inside = fire->rect().center();
    QTest::mousePress(fire, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(fire, Qt::LeftButton, {}, inside + QPoint(0, fire->height()));
    EXPECT_EQ(state, 1);
    QTest::mousePress(fire, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(fire, Qt::LeftButton, {}, inside);
    EXPECT_EQ(state, 2);

    // The frames of a shot that hits, the praise printed, and the device moved down leave
    // nothing of themselves behind: each time the screen matches a whole paint.
    const auto screenIsWhole = [&window] {
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        return shown.convertToFormat(QImage::Format_RGB32) ==
               window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    g.game.Record().lTargetStep = 0;
    g.game.Record().lTargetPos = 4150;
    for (int frame = 0; frame < 40; ++frame) {
        g.form.tmrState.OnTimer.Raise();
        QApplication::processEvents();
        EXPECT_TRUE(screenIsWhole()) << "frame " << frame;
    }
    EXPECT_EQ(g.game.Record().lHits, 1);
    // With the explosion showing, Tab goes round the boxes in their order: field, explosion, fire.
    QTest::keyClick(fire, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), "picGZone");
    g.form.imgDevice.SetTop(g.form.imgDevice.Top() + 600);
    QApplication::processEvents();
    EXPECT_TRUE(screenIsWhole());
}

// A screen reader walks the window's parts, each a leaf that knows its place, by their names,
// what they are for and whether they show; at a game's end it hears the play field named by its
// headline and the line under it, in its name only.
TEST(Window, AScreenReaderWalksThePartsAndHearsTheGameOver) {
    ScriptedPlatform platform;
    MemoryHighScores highScores;
    Game g{testArtwork(), platform, highScores};
    FormWindow window{g.form};
    window.Show();
    QAccessibleInterface* form = QAccessible::queryAccessibleInterface(&window);
    QStringList parts;
    for (int i = 0; i < form->childCount(); ++i) {
        QAccessibleInterface* part = form->child(i);
        EXPECT_EQ(part->childCount(), 0) << i;
        EXPECT_EQ(form->indexOfChild(part), i);
        parts += part->text(QAccessible::Name) + " | " + part->text(QAccessible::Description) +
                 (part->state().invisible ? " (hidden)" : "");
    }
    EXPECT_EQ(parts.join('\n').toStdString(),
              "Score: 0 | Score\n"
              "Best: Unknown 1,000 pts | High score and its holder\n"
              "Play field | Targets cross from left to right below the device; fire when one is "
              "right under the beam\n"
              "Explosion | Shows over a target that was hit (hidden)\n"
              "Fire | Sends the beam down; after a game, asks whether to play again\n"
              "Lives: 5 | Lives\n"
              "Hit targets to upgrade device! | Stage\n"
              "Hits: 0 of 0 | Targets hit of targets come");
    EXPECT_EQ(form->indexOfChild(form), -1);
    QAccessibleInterface* field =
        QAccessible::queryAccessibleInterface(window.pictureBoxWidget(QStringLiteral("picGZone")));
    g.game.Record().lGameState = 3;
    platform.queueMsgBoxAnswer(Platform::vbCancel);
    g.game.tmrState_Timer();
    EXPECT_EQ(field->text(QAccessible::Name), "Game over. Score: 0 points");
    EXPECT_EQ(field->text(QAccessible::Help), "");
}

// A run-time error in a handler shows one box over the window and ends the program with
// status 1 once it is closed, the box saying which error in the game's own words; the ticks
// that come while the box is up never reach the game.
TEST(Window, ARunTimeErrorEndsTheProgramAfterOneMessage) {
    QtPlatform platform;
    MemoryHighScores highScores;
    EventGuard guard(platform, QStringLiteral("Varnoth"));
    Game g{testArtwork(), platform, highScores, nullptr, guard.layer()};
    FormWindow window{g.form};
    platform.setDialogParent(&window);
    window.Show();
    g.game.Record().lTargets = 2147483647;
    g.game.Record().lTargetPos = 8200;
    int boxes = 0;
    QString shown;
    QTimer::singleShot(0, [&g, &boxes, &shown] {
        const auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        boxes += box ? 1 : 0;
        shown = box->windowTitle() + " | " + box->text() +
                (box->icon() == QMessageBox::Critical ? " (critical)" : "");
        g.game.Record().lTargetPos = 100;
        g.form.tmrState.OnTimer.Raise();
        QApplication::activeModalWidget()->close();
    });
    testing::internal::CaptureStderr();
    g.form.tmrState.OnTimer.Raise();
    // The offscreen platform adds its own remarks after ours.
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.substr(0, said.find('\n')), "varnoth: run-time error 6, Overflow");
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(shown.toStdString(), "Varnoth | Run-time error '6':\n\nOverflow (critical)");
    EXPECT_EQ(g.game.Record().lTargetPos, 100);
    // A loop nobody ends would hang the suite; 99 says so instead.
    QTimer::singleShot(5000, [] { QApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 1);
}

// No to another game ends the program: nothing after End runs, no later event reaches the
// game, and the event loop ends with status 0 for the program to clean up after it.
TEST(Window, EndLeavesTheHandlerAndEndsTheLoopWell) {
    QtPlatform platform;
    EventGuard guard(platform, QStringLiteral("Varnoth"));
    Event click;
    int clicks = 0;
    bool afterEnd = false;
    click.Handle([&] {
        ++clicks;
        platform.End();
        afterEnd = true;
    });
    click.AddLayer(guard.layer());
    click.Raise();
    click.Raise();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(afterEnd);
    QTimer::singleShot(5000, [] { QApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
}

} // namespace
