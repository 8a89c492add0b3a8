#pragma once

#include "forms/Platform.h"

class ScriptRecorder;

// A platform that passes everything on to the real one and tells the recorder each dialog's
// answer and each yield; at the end of the program it closes the record before the program
// goes. The game is built over it instead of the real platform:
//
//   RecordingPlatform recording(platform, recorder);
//   frmVarnoth game(form, recording, highScores);
class RecordingPlatform : public Platform {
public:
    RecordingPlatform(Platform& inner, ScriptRecorder& recorder)
        : inner_(inner), recorder_(recorder) {}

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    void DoEvents() override;
    [[noreturn]] void End() override;
    void BindTimer(Timer& timer) override { inner_.BindTimer(timer); }

private:
    Platform& inner_;
    ScriptRecorder& recorder_;
};
