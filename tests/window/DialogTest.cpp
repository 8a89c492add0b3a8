// The real message and input boxes, run modally and answered as a player would, once they
// show, by a timer that finds the open dialog.
#include "window/QtPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <utility>

namespace {

using Box = QMessageBox;
using NameBox = QInputDialog;

// What `ask` returns when the player answers the dialog it opens with `answer`.
template <typename Dialog, typename Ask> auto answered(Ask ask, void (*answer)(Dialog&)) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        EXPECT_EQ(dialog->windowTitle(), "Varnoth");
        answer(*dialog);
    });
    return ask();
}

TEST(Dialogs, GiveTheGameThePlayersAnswerCancelIncluded) {
    QtPlatform p;
    const auto again = [&] { return p.MsgBox("Want to play again?", 547, "Varnoth"); };
    const std::pair<void (*)(Box&), int> questions[] = {
        {[](Box& b) { b.button(Box::Yes)->click(); }, 6},
        {[](Box& b) { b.button(Box::No)->click(); }, 7},
        {[](Box& b) { b.button(Box::Cancel)->click(); }, 2},
        {[](Box& b) { QTest::keyClick(&b, Qt::Key_Return); }, 2},
        {[](Box& b) { QTest::keyClick(&b, Qt::Key_Escape); }, 2},
        {[](Box& b) { b.reject(); }, 2}}; // closed by no button at all
    for (const auto& [answer, expected] : questions)
        EXPECT_EQ(answered(again, answer), expected);

    const auto name = [&] { return p.InputBox("Please enter your name:", "Varnoth", "Unknown"); };
    const std::pair<void (*)(NameBox&), const char*> names[] = {
        {[](NameBox& d) { d.accept(); }, "Unknown"},
        {[](NameBox& d) { d.setTextValue("Ann Lee"), d.accept(); }, "Ann Lee"},
        {[](NameBox& d) { d.reject(); }, ""}};
    for (const auto& [answer, expected] : names)
        EXPECT_EQ(answered(name, answer), expected);
}

} // namespace
