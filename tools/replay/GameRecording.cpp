#include "tools/replay/GameRecording.h"

#include "tools/replay/ScriptRecorder.h"
#include "view/VarnothForm.h"

#include <cstdlib>
#include <functional>
#include <string>

int RecordingPlatform::MsgBox(const QString& prompt, int style, const QString& title) {
    const int answer = inner_.MsgBox(prompt, style, title);
    recorder_.Answer("msgbox " + std::to_string(answer));
    return answer;
}

QString RecordingPlatform::InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) {
    QString answer = inner_.InputBox(prompt, title, defaultText);
    // A script line ends at the line break; a name is one line.
    answer.replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
    recorder_.Answer(answer.isEmpty() ? std::string("input") : "input " + answer.toStdString());
    return answer;
}

void RecordingPlatform::End() {
    recorder_.Close();
    inner_.End();
    // The compiler cannot see through the virtual call that End never comes back.
    std::abort();
}

namespace {

// The recorder hears of the event even when its handler leaves by an exception.
class EventScope {
public:
    EventScope(ScriptRecorder& recorder, std::string line) : recorder_(recorder) {
        recorder_.BeginEvent(std::move(line));
    }
    ~EventScope() { recorder_.EndEvent(); }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

private:
    ScriptRecorder& recorder_;
};

void wrap(std::function<void()>& event, ScriptRecorder& recorder, const char* line) {
    event = [inner = event, &recorder, line] {
        EventScope scope(recorder, line);
        inner();
    };
}

} // namespace

void RecordEvents(VarnothForm& form, ScriptRecorder& recorder) {
    wrap(form.picFire.Click, recorder, "click");
    wrap(form.tmrState.OnTimer, recorder, "tick");
    wrap(form.tmrExtras.OnTimer, recorder, "extras");
    form.picFire.KeyPress = [inner = form.picFire.KeyPress, &recorder](std::int16_t& code) {
        EventScope scope(recorder, "key " + std::to_string(code));
        inner(code);
    };
}
