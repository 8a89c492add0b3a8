// The game's elements on the offscreen screen: each frame of a picture box repainted where it
// changed without leaving anything behind, and the game in its real window played with real
// mouse events.
#include "forms/Event.h"
#include "forms/PictureBox.h"
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
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <iostream>

namespace {

constexpr Colour kGround = RGB(0, 0, 128);
constexpr Colour kInk = RGB(255, 255, 0);
constexpr QRect kField(0, 0, 300, 120);

PictureBox makeBox() {
    return PictureBox(
        QStringLiteral("picTest"), {0, 0, kField.width() * 15.0, kField.height() * 15.0},
        {kGround, RGB(255, 255, 255), {QStringLiteral("Verdana"), 8.25, false}, {}, 0});
}

// The picture box on its own in a window, noting what it is asked to repaint.
class Field : public PictureBoxWidget {
public:
    using PictureBoxWidget::PictureBoxWidget;
    int repainted = 0; // pixels since the last frame

protected:
    void paintEvent(QPaintEvent* event) override {
        for (const QRect& r : event->region())
            repainted += r.width() * r.height();
        PictureBoxWidget::paintEvent(event);
    }
};

// Frames as the game draws them: a moving target, a zigzag beam that flips each frame, a
// line of praise for a while, a frame that only clears, then a new back colour.
TEST(Paint, EachFrameRepaintsWhatChangedAndTheScreenMatchesAWholePaint) {
    PictureBox box = makeBox();
    Field field(box, nullptr);
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    for (int frame = 0; frame < 24; ++frame) {
        box.Cls();
        box.SetBackColor(frame <= 20 ? kGround : RGB(128, 0, 0));
        const float x = 300.0F + 105.0F * static_cast<float>(frame);
        if (frame != 20) {
            box.LineFilled(x, 900, x + 400, 1200, kInk);
            box.LineBox(x, 900, x + 400, 1200, RGB(0, 0, 0));
        }
        for (float y = 850; frame >= 5 && frame < 12 && y > 0; y -= 100) {
            const float left = frame % 2 == 0 ? 2000 : 2075, right = 4075 - left;
            box.Line(left, y, right, y - 50, RGB(255, 0, 0));
            box.Line(right, y - 50, left, y - 100, RGB(255, 0, 0));
        }
        if (frame >= 8 && frame < 16) {
            box.SetCurrentX(2700);
            box.Print(QStringLiteral("Great, dude! 312 pts"));
        }
        field.repainted = 0;
        // The game's yield is one pass of the event loop: the frame must show after it.
        QApplication::processEvents();
        // Only the frame with the new back colour repaints the whole field.
        EXPECT_TRUE(frame == 21 || field.repainted < kField.width() * kField.height() / 4)
            << "frame " << frame;
        const QImage shown = field.screen()->grabWindow(field.winId()).toImage();
        EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
                  field.grab().toImage().convertToFormat(QImage::Format_RGB32))
            << "frame " << frame;
    }
}

TEST(Window, StartsCentredReadyToFire) {
    ScriptedPlatform platform;
    MemoryHighScores highScores;
    Game g{SharedArtwork(), platform, highScores};
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

    // The device moved down leaves nothing of itself behind: the screen matches a whole paint.
    g.form.imgDevice.SetTop(g.form.imgDevice.Top() + 600);
    QApplication::processEvents();
    EXPECT_EQ(
        window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32),
        window.grab().toImage().convertToFormat(QImage::Format_RGB32));
}

// A run-time error in a handler shows one box over the window and ends the program with
// status 1 once it is closed, the box saying which error in the game's own words; the ticks
// that come while the box is up never reach the game.
TEST(Window, ARunTimeErrorEndsTheProgramAfterOneMessage) {
    QtPlatform platform;
    MemoryHighScores highScores;
    EventGuard guard(platform, QStringLiteral("Varnoth"));
    Game g{SharedArtwork(), platform, highScores, nullptr, guard.layer()};
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
