#pragma once

#include "registry/RegistryTypes.h"
#include "registry/StoreSchema.h"

#include <optional>
#include <string>

namespace reg {

// What an open handle stands for: a key of one store file, with the rights it was opened for.
struct OpenKey {
    std::string storePath;
    KeyId key = 0;
    REGSAM access = 0;
};

// The process's table of open keys, as the operating system keeps one per process: handles
// are plain numbers that callers hand back, so the table that gives them meaning is shared by
// every caller in the process. Safe to use from several threads.
class HandleTable {
public:
    static HKEY Add(OpenKey key);
    static std::optional<OpenKey> Find(HKEY handle);
    // False for a handle that is not open.
    static bool Remove(HKEY handle);
};

} // namespace reg
