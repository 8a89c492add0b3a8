#pragma once

#include "registry/RegistryStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads and writes values straight through the store, as another program might have: to set a
// store up for a case and to see afterwards what was really stored.
using RawValue = RegistryStore::Value;

// Creates the key when needed; false when the store refused.
bool PutValue(std::uint32_t root, const std::string& key, const std::string& name,
              const RawValue& value);
// Nothing when the key or the value is missing.
std::optional<RawValue> GetValue(std::uint32_t root, const std::string& key,
                                 const std::string& name);

// The bytes of text, with the NUL a string value is stored with.
std::vector<std::uint8_t> Sz(std::string_view text);
// The bytes of a whole file; nothing when it can't be read.
std::vector<std::uint8_t> FileBytes(const std::string& path);
