#pragma once

#include "forms/Platform.h"

#include <QObject>
#include <QString>
#include <deque>
#include <stdexcept>
#include <vector>

// Thrown when a dialog opens and no answer was queued for it.
class NoAnswerQueued : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A platform without a person or a clock: dialogs take answers queued in advance, the yield
// tells whoever listens (nobody by default), timers tick only when called. Every dialog shown
// is kept, with its answer, for the caller to take.
class ScriptedPlatform : public QObject, public Platform {
    Q_OBJECT
public:
    struct Dialog {
        enum class Kind { MsgBox, InputBox };
        Kind kind = Kind::MsgBox;
        QString prompt;
        int style = 0;
        QString title;
        QString defaultText;
        int answer = 0;
        QString answerText;
    };

    void queueMsgBoxAnswer(int answer) { msgBoxAnswers_.push_back(answer); }
    void queueInputAnswer(const QString& text) { inputAnswers_.push_back(text); }

    std::vector<Dialog> takeDialogs();

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    void DoEvents() override;
    [[noreturn]] void End() override;
    void BindTimer(Timer&) override {}

signals:
    // At every yield; the window's replay paints there, a script delivers a held event.
    void yielded();

private:
    std::deque<int> msgBoxAnswers_;
    std::deque<QString> inputAnswers_;
    std::vector<Dialog> dialogs_;
};
