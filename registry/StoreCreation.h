#pragma once

#include <string>

namespace reg {

// Makes a new store file, with its directory when that is missing. The file is built under a
// temporary name beside its place and linked into place only once complete, so no one ever
// sees a half-made store, and of two copies of the game making it at once one simply wins.
// Throws StoreFailure.
class StoreCreation {
public:
    static void Create(const std::string& path);
};

} // namespace reg
