#include "replay/GameRecording.h"

#include "replay/EventScope.h"
#include "game/VarnothForm.h"

#include <cstdint>
#include <functional>
#include <string>

namespace {

void wrap(std::function<void()>& event, ScriptRecorder& recorder, const char* line) {
    event = [inner = event, &recorder, line] {
        const EventScope scope(recorder, line);
        inner();
    };
}

} // namespace

void RecordEvents(VarnothForm& form, ScriptRecorder& recorder) {
    wrap(form.picFire.Click, recorder, "click");
    wrap(form.tmrState.OnTimer, recorder, "tick");
    wrap(form.tmrExtras.OnTimer, recorder, "extras");
    form.picFire.KeyPress = [inner = form.picFire.KeyPress, &recorder](std::int16_t& code) {
        const EventScope scope(recorder, "key " + std::to_string(code));
        inner(code);
    };
}
