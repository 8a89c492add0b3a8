#pragma once

#include "registry/RegistryTypes.h"

#include <stdexcept>

struct sqlite3;

namespace reg {

// Thrown inside the layer when the store file can't do what a call asked; the registry call
// catches it and returns its status, so nothing of it reaches clsRegistry as an exception.
class StoreFailure : public std::runtime_error {
public:
    explicit StoreFailure(LSTATUS status);

    // A failed SQLite call on db, with its result code rc, in the registry's own terms.
    static StoreFailure FromSqlite(sqlite3* db, int rc);
    // A failed file-system call, from its errno.
    static StoreFailure FromErrno(int error);

    LSTATUS Status() const { return status_; }

private:
    LSTATUS status_ = ERROR_SUCCESS;
};

} // namespace reg
