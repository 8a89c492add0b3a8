#pragma once

#include "registry/RegistryTypes.h"

#include <cstdint>
#include <optional>

namespace reg {

class SqliteDatabase;

using KeyId = std::int64_t;

// The tables of a store file and the keys every store has from the start: the roots and
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes, which HKEY_CLASSES_ROOT stands for. Those keys have fixed
// ids, so a handle to one of them means the same key in every store file.
class StoreSchema {
public:
    // Lays the tables and the permanent keys into a new, empty database.
    static void Create(SqliteDatabase& db);

    // Whether the database carries this program's mark and schema version; any other SQLite
    // file, however valid, is not a store.
    static bool Recognises(SqliteDatabase& db);

    // The key a predefined root handle stands for; nothing for any other handle.
    static std::optional<KeyId> RootKey(HKEY root);

    // The roots and HKEY_CLASSES_ROOT's key can't be deleted.
    static bool IsPermanent(KeyId key);
};

} // namespace reg
