#pragma once

#include "forms/Platform.h"

#include <QString>
#include <deque>
#include <functional>
#include <stdexcept>
#include <vector>

// Thrown by ScriptedPlatform::End: unwinds out of the handler that ended the program, so
// nothing after End runs, as in the real game.
class ProgramEnded : public std::exception {
public:
    const char* what() const noexcept override { return "the program has ended"; }
};

// Thrown when a dialog opens and no answer was queued for it.
class NoAnswerQueued : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A platform without a person or a clock: dialogs take answers queued in advance, the yield
// runs a hook (nothing by default), timers tick only when called. Every dialog shown is
// kept, with its answer, for the caller to inspect.
class ScriptedPlatform : public Platform {
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

    void QueueMsgBoxAnswer(int answer) { msgBoxAnswers_.push_back(answer); }
    void QueueInputAnswer(const QString& text) { inputAnswers_.push_back(text); }
    std::size_t PendingAnswers() const { return msgBoxAnswers_.size() + inputAnswers_.size(); }

    const std::vector<Dialog>& Dialogs() const { return dialogs_; }
    std::vector<Dialog> TakeDialogs();
    int Yields() const { return yields_; }

    // Runs at every yield; a test uses it to deliver an event in the middle of a tick.
    std::function<void()> onDoEvents;

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    void DoEvents() override;
    [[noreturn]] void End() override;
    void BindTimer(Timer&) override {}

private:
    std::deque<int> msgBoxAnswers_;
    std::deque<QString> inputAnswers_;
    std::vector<Dialog> dialogs_;
    int yields_ = 0;
};
