// The real message and input boxes, run modally and answered as a player would, once they
// show, by a timer that finds the open dialog.
#include "view/QtPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// What `ask` returns when the player answers the dialog it opens with `answer`.
template <typename Dialog, typename Ask> auto answered(Ask ask, void (*answer)(Dialog&)) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Varnoth"));
        answer(*dialog);
    });
    return ask();
}

TEST(Dialogs, GiveTheGameThePlayersAnswerCancelIncluded) {
    QtPlatform platform;
    const auto again = [&] {
        return platform.MsgBox(QStringLiteral("Want to play again?"), 547,
                               QStringLiteral("Varnoth"));
    };
    const struct {
        void (*answer)(QMessageBox&);
        int expected;
    } questions[] = {{[](QMessageBox& b) { b.button(QMessageBox::Yes)->click(); }, 6},
                     {[](QMessageBox& b) { b.button(QMessageBox::No)->click(); }, 7},
                     {[](QMessageBox& b) { b.button(QMessageBox::Cancel)->click(); }, 2},
                     {[](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Return); }, 2},
                     {[](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); }, 2}};
    for (const auto& c : questions)
        EXPECT_EQ(answered(again, c.answer), c.expected);

    const auto name = [&] {
        return platform.InputBox(QStringLiteral("Please enter your name:"),
                                 QStringLiteral("Varnoth"), QStringLiteral("Unknown"));
    };
    const struct {
        void (*answer)(QInputDialog&);
        const char* expected;
    } names[] = {{[](QInputDialog& d) { d.accept(); }, "Unknown"},
                 {[](QInputDialog& d) {
                      d.setTextValue(QStringLiteral("Ann Lee"));
                      d.accept();
                  },
                  "Ann Lee"},
                 {[](QInputDialog& d) { d.reject(); }, ""}};
    for (const auto& c : names)
        EXPECT_EQ(answered(name, c.answer), QString::fromLatin1(c.expected));
}

} // namespace
