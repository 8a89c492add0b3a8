#include "view/QtPlatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MessageBox, PlayAgainStyleHasYesNoCancelQuestionAndCancelAsDefault) {
    const auto box = QtPlatform::BuildMessageBox(QStringLiteral("Want to play again?"), 547,
                                                 QStringLiteral("Varnoth"), nullptr);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    ASSERT_NE(box->defaultButton(), nullptr);
    EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::Cancel);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Varnoth"));
    EXPECT_EQ(box->text(), QStringLiteral("Want to play again?"));
}

// The dialog really runs modally and is answered by a simulated key or click once it shows.
TEST(MessageBox, AnswersReadAsYesNoOrCancel) {
    const struct {
        const char* how;
        std::function<void(QMessageBox&)> answer;
        int expected;
    } cases[] = {
        {"Enter takes the default",
         [](QMessageBox& b) {
             QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
             QApplication::sendEvent(&b, &press);
         },
         Platform::vbCancel},
        {"Escape cancels",
         [](QMessageBox& b) {
             QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&b, &press);
         },
         Platform::vbCancel},
        {"Yes clicked", [](QMessageBox& b) { b.button(QMessageBox::Yes)->click(); },
         Platform::vbYes},
        {"No clicked", [](QMessageBox& b) { b.button(QMessageBox::No)->click(); }, Platform::vbNo},
    };
    for (const auto& c : cases) {
        const auto box = QtPlatform::BuildMessageBox(QStringLiteral("Want to play again?"), 547,
                                                     QStringLiteral("Varnoth"), nullptr);
        QMessageBox* raw = box.get();
        QTimer::singleShot(0, raw, [&c, raw] { c.answer(*raw); });
        box->exec();
        EXPECT_EQ(QtPlatform::AnswerOf(*box), c.expected) << c.how;
    }
}

} // namespace
