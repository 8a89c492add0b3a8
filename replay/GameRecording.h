#pragma once

#include "replay/RecordingPlatform.h"

class ScriptRecorder;
class VarnothForm;

// Recording a game takes two pieces: the RecordingPlatform under the game, which hears the
// dialogs and the yields, and RecordEvents on the window, which hears the events:
//
//   ScriptRecorder recorder(path);
//   RecordingPlatform recording(platform, recorder);
//   frmVarnoth game(form, recording, highScores);
//   RecordEvents(form, recorder);
//
// RecordEvents wraps the events the game has wired to the fire button and the two timers,
// so that the recorder hears of each as it begins and ends. Call it after the game is built.
void RecordEvents(VarnothForm& form, ScriptRecorder& recorder);
