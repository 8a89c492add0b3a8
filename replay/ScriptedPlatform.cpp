#include "replay/ScriptedPlatform.h"

#include <utility>

std::vector<ScriptedPlatform::Dialog> ScriptedPlatform::takeDialogs() {
    return std::exchange(dialogs_, {});
}

int ScriptedPlatform::MsgBox(const QString& prompt, int style, const QString& title) {
    if (msgBoxAnswers_.empty())
        throw NoAnswerQueued("a message box opened with no answer queued: " + prompt.toStdString());
    const int answer = msgBoxAnswers_.front();
    msgBoxAnswers_.pop_front();
    dialogs_.push_back({Dialog::Kind::MsgBox, prompt, style, title, {}, answer, {}});
    return answer;
}

QString ScriptedPlatform::InputBox(const QString& prompt, const QString& title,
                                   const QString& defaultText) {
    if (inputAnswers_.empty())
        throw NoAnswerQueued("an input box opened with no answer queued: " + prompt.toStdString());
    QString answer = inputAnswers_.front();
    inputAnswers_.pop_front();
    dialogs_.push_back({Dialog::Kind::InputBox, prompt, 0, title, defaultText, 0, answer});
    return answer;
}

void ScriptedPlatform::DoEvents() {
    emit yielded();
}

void ScriptedPlatform::End() {
    throw ProgramEnded();
}
