#pragma once

#include "registry/RegistryTypes.h"
#include "registry/StoreSchema.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace reg {

class SqliteDatabase;

struct StoredValue {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

struct KeyInfo {
    DWORD subkeys = 0;
    DWORD longestSubkeyName = 0;
    DWORD values = 0;
    DWORD longestValueName = 0;
    DWORD longestValueData = 0;
};

// The keys and values of one store, read and changed inside a transaction that the caller
// holds open. Names are found without regard to case (see FoldName).
class KeyStore {
public:
    explicit KeyStore(SqliteDatabase& db) : db_(db) {}

    bool KeyExists(KeyId key);
    std::optional<KeyId> FindSubkey(KeyId parent, std::string_view name);
    KeyId CreateSubkey(KeyId parent, std::string_view name);
    bool HasSubkeys(KeyId key);
    // Subkeys in order of their folded names.
    std::optional<std::string> SubkeyName(KeyId key, DWORD index);
    // Deletes the key with its values; the caller has made sure it has no subkeys.
    void DeleteKey(KeyId key);

    std::optional<StoredValue> FindValue(KeyId key, std::string_view name);
    // Overwriting keeps the value's first spelling and its place in the enumeration order.
    void SetValue(KeyId key, std::string_view name, DWORD type, std::span<const std::uint8_t> data);
    // False when there was no such value.
    bool DeleteValue(KeyId key, std::string_view name);
    // Values in the order they were first written.
    std::optional<StoredValue> ValueAt(KeyId key, DWORD index);

    KeyInfo Info(KeyId key);

private:
    SqliteDatabase& db_;
};

} // namespace reg
