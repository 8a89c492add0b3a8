// The real message and input boxes, run modally and answered as a player would, once they
// show, by a timer that finds the open dialog.
#include "view/QtPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

template <typename Dialog> void answerWhenShown(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

TEST(Dialogs, PlayAgainQuestionGivesTheGameThePlayersAnswer) {
    const struct {
        const char* how;
        std::function<void(QMessageBox&)> answer;
        int expected;
    } cases[] = {
        {"Yes clicked", [](QMessageBox& b) { b.button(QMessageBox::Yes)->click(); }, 6},
        {"No clicked", [](QMessageBox& b) { b.button(QMessageBox::No)->click(); }, 7},
        {"Cancel clicked", [](QMessageBox& b) { b.button(QMessageBox::Cancel)->click(); }, 2},
        {"Enter takes the default", [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Return); }, 2},
        {"Escape cancels", [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); }, 2},
    };
    QtPlatform platform;
    for (const auto& c : cases) {
        answerWhenShown<QMessageBox>([&c](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), QStringLiteral("Varnoth"));
            EXPECT_EQ(box.text(), QStringLiteral("Want to play again?"));
            EXPECT_EQ(box.icon(), QMessageBox::Question);
            EXPECT_EQ(box.standardButtons(),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            c.answer(box);
        });
        EXPECT_EQ(
            platform.MsgBox(QStringLiteral("Want to play again?"), 547, QStringLiteral("Varnoth")),
            c.expected)
            << c.how;
    }
}

TEST(Dialogs, NameBoxGivesTheGameTheTypedNameOrNothingOnCancel) {
    const struct {
        const char* how;
        std::function<void(QInputDialog&)> answer;
        const char* expected;
    } cases[] = {
        {"OK on the default", [](QInputDialog& d) { d.accept(); }, "Unknown"},
        {"a name typed",
         [](QInputDialog& d) {
             auto* edit = d.findChild<QLineEdit*>();
             edit->selectAll();
             QTest::keyClicks(edit, QStringLiteral("Ann Lee"));
             QTest::keyClick(edit, Qt::Key_Return);
         },
         "Ann Lee"},
        {"Cancel", [](QInputDialog& d) { d.reject(); }, ""},
    };
    QtPlatform platform;
    for (const auto& c : cases) {
        answerWhenShown<QInputDialog>([&c](QInputDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Varnoth"));
            EXPECT_EQ(dialog.labelText(), QStringLiteral("Please enter your name:"));
            c.answer(dialog);
        });
        EXPECT_EQ(platform.InputBox(QStringLiteral("Please enter your name:"),
                                    QStringLiteral("Varnoth"), QStringLiteral("Unknown")),
                  QString::fromLatin1(c.expected))
            << c.how;
    }
}

} // namespace
