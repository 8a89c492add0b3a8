#include "replay/RecordingPlatform.h"

#include "replay/ScriptRecorder.h"

#include <QString>
#include <cstdlib>
#include <string>

int RecordingPlatform::MsgBox(const QString& prompt, int style, const QString& title) {
    const int answer = inner_.MsgBox(prompt, style, title);
    recorder_.answer("msgbox " + std::to_string(answer));
    return answer;
}

QString RecordingPlatform::InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) {
    QString answer = inner_.InputBox(prompt, title, defaultText);
    // A script line ends at the line break; a name is one line.
    answer.replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    recorder_.answer(answer.isEmpty() ? std::string("input") : "input " + answer.toStdString());
    return answer;
}

void RecordingPlatform::DoEvents() {
    recorder_.yield();
    inner_.DoEvents();
}

void RecordingPlatform::End() {
    recorder_.close();
    inner_.End();
    // The compiler cannot see through the virtual call that End never comes back.
    std::abort();
}
