#pragma once

#include "replay/ScriptedPlatform.h"

#include <functional>
#include <utility>

// Runs `run` at every yield of a ScriptedPlatform for as long as it lives, after whatever
// hook was there (the window's replay paints there), and puts that hook back at the end.
class YieldHook {
public:
    YieldHook(ScriptedPlatform& platform, std::function<void()> run)
        : platform_(platform), previous_(platform.onDoEvents) {
        platform_.onDoEvents = [previous = previous_, run = std::move(run)] {
            if (previous)
                previous();
            run();
        };
    }
    ~YieldHook() { platform_.onDoEvents = std::move(previous_); }
    YieldHook(const YieldHook&) = delete;
    YieldHook& operator=(const YieldHook&) = delete;

private:
    ScriptedPlatform& platform_;
    std::function<void()> previous_;
};
