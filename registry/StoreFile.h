#pragma once

#include "registry/RegistryTypes.h"

#include <functional>
#include <string>

namespace reg {

class KeyStore;

// Runs one registry call's work on the store file at a path, in one transaction on a
// connection of its own. The work returns a status; anything but ERROR_SUCCESS, or a failure of
// the file, undoes all of it.
//
// A missing file reads as a new store holding only the permanent keys, and is made only by a
// write that changes something. A file that is not a store (not SQLite, damaged, cut short, a
// directory, another program's database) fails every call with ERROR_BADDB and is never
// written to.
class StoreFile {
public:
    using Work = std::function<LSTATUS(KeyStore&)>;

    static LSTATUS Read(const std::string& path, const Work& work);
    static LSTATUS Write(const std::string& path, const Work& work);
};

} // namespace reg
