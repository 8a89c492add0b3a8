#include "replay/GameRecording.h"

#include "game/VarnothForm.h"
#include "replay/ScriptRecorder.h"

#include <QScopeGuard>
#include <string>

Event::Layer recordingLayer(VarnothForm& form, ScriptRecorder& recorder) {
    return
        [&form, &recorder](const Event& event, std::int16_t& keyAscii, const Event::Handler& next) {
            std::string line;
            if (&event == &form.picFire.Click)
                line = "click";
            else if (&event == &form.tmrState.OnTimer)
                line = "tick";
            else if (&event == &form.tmrExtras.OnTimer)
                line = "extras";
            else if (&event == &form.picFire.KeyPress)
                line = "key " + std::to_string(keyAscii);
            // Loading and activating the window are not the player's doing: a replay shows the
            // window, which raises them again.
            if (line.empty()) {
                next(keyAscii);
                return;
            }
            // Ended also when the handler leaves by an exception.
            recorder.beginEvent(std::move(line));
            const QScopeGuard end([&recorder] { recorder.endEvent(); });
            next(keyAscii);
        };
}
