#pragma once

#include "registry/RegistryTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads and writes straight through the registry layer, to set a store up for a case and to
// see afterwards what a member really stored.
struct RawValue {
    reg::DWORD type = reg::REG_NONE;
    std::vector<std::uint8_t> data;
    bool operator==(const RawValue&) const = default;
};

// Creates the key when needed.
reg::LSTATUS PutValue(reg::HKEY root, const char* key, const char* name, const RawValue& value);
// Nothing when the key or the value is missing.
std::optional<RawValue> GetValue(reg::HKEY root, const char* key, const char* name);

// The bytes of text, with the NUL a string value is stored with.
std::vector<std::uint8_t> Sz(std::string_view text);
// The bytes of a whole file; nothing when it can't be read.
std::vector<std::uint8_t> FileBytes(const std::string& path);
