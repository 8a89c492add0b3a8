#pragma once

#include "view/Platform.h"

class ScriptRecorder;
class VarnothForm;

// A platform that passes everything on to the real one and tells the recorder each dialog's
// answer; at the end of the program it closes the record before the program goes.
class RecordingPlatform : public Platform {
public:
    RecordingPlatform(Platform& inner, ScriptRecorder& recorder)
        : inner_(inner), recorder_(recorder) {}

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    void DoEvents() override { inner_.DoEvents(); }
    [[noreturn]] void End() override;
    void BindTimer(Timer& timer) override { inner_.BindTimer(timer); }

private:
    Platform& inner_;
    ScriptRecorder& recorder_;
};

// Wraps the events the game has wired to the fire button and the two timers, so that the
// recorder hears of each as it begins and ends. Call after the game is built.
void RecordEvents(VarnothForm& form, ScriptRecorder& recorder);
