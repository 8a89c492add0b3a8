#pragma once

#include "registry/RegistryTypes.h"

// An open registry key that is closed when it goes out of scope, so a member of clsRegistry
// that raises half-way still lets its key go. Holds 0 until an open or create fills it in.
class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle();
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;

    reg::HKEY Get() const { return handle_; }
    // Where RegOpenKeyEx and RegCreateKeyEx put the handle they open.
    reg::HKEY* Out() { return &handle_; }

private:
    reg::HKEY handle_ = 0;
};
