#pragma once

#include "replay/ScriptRecorder.h"

#include <string>
#include <utility>

// Tells the recorder of an event for as long as its handler runs, also when the handler
// leaves by an exception.
class EventScope {
public:
    EventScope(ScriptRecorder& recorder, std::string line) : recorder_(recorder) {
        recorder_.beginEvent(std::move(line));
    }
    ~EventScope() { recorder_.endEvent(); }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

private:
    ScriptRecorder& recorder_;
};
