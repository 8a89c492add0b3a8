#pragma once

#include "forms/Event.h"

class ScriptRecorder;
class VarnothForm;

// Recording a game takes two pieces: the RecordingPlatform under the game, which hears the
// dialogs and the yields, and this layer on the window's events, which tells the recorder of
// each click, key and tick as it begins and ends. Game puts both in place.
Event::Layer recordingLayer(VarnothForm& form, ScriptRecorder& recorder);
