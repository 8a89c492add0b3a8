#pragma once

#include "replay/ScriptedPlatform.h"

#include <QObject>
#include <functional>
#include <utility>

// Runs `run` at every yield of a ScriptedPlatform for as long as it lives, after whatever
// already listens there (the window's replay paints there).
class YieldHook {
public:
    YieldHook(ScriptedPlatform& platform, std::function<void()> run)
        : connection_(QObject::connect(&platform, &ScriptedPlatform::yielded, std::move(run))) {}
    ~YieldHook() { QObject::disconnect(connection_); }
    YieldHook(const YieldHook&) = delete;
    YieldHook& operator=(const YieldHook&) = delete;

private:
    QMetaObject::Connection connection_;
};
