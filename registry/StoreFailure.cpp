#include "registry/StoreFailure.h"

#include <sqlite3.h>

#include <cerrno>
#include <string>

namespace reg {

namespace {

bool IsOutOfSpace(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

LSTATUS StatusOfSqlite(sqlite3* db, int rc) {
    switch (rc & 0xff) {
    // SQLITE_ERROR comes from a statement the file's tables can't answer: the file passed for a
    // store by its header but holds something else.
    case SQLITE_ERROR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return ERROR_BADDB;
    case SQLITE_FULL:
        return ERROR_DISK_FULL;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return ERROR_ACCESS_DENIED;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ERROR_BUSY;
    case SQLITE_NOMEM:
        return ERROR_OUTOFMEMORY;
    case SQLITE_TOOBIG:
        return ERROR_INVALID_PARAMETER;
    case SQLITE_IOERR:
        // A full disk or a file size limit shows up as a failed write. The system's error tells
        // it apart from a broken disk when SQLite still has it; by the time a rolled-back write
        // reports, it often has not, and the call reports a failed write instead.
        return db != nullptr && IsOutOfSpace(sqlite3_system_errno(db)) ? ERROR_DISK_FULL
                                                                       : ERROR_REGISTRY_IO_FAILED;
    default:
        return ERROR_REGISTRY_IO_FAILED;
    }
}

} // namespace

StoreFailure::StoreFailure(LSTATUS status)
    : std::runtime_error("registry store failed with status " + std::to_string(status)),
      status_(status) {}

StoreFailure StoreFailure::FromSqlite(sqlite3* db, int rc) {
    return StoreFailure(StatusOfSqlite(db, rc));
}

StoreFailure StoreFailure::FromErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return StoreFailure(ERROR_ACCESS_DENIED);
    case ENOENT:
    case ENOTDIR:
        return StoreFailure(ERROR_PATH_NOT_FOUND);
    case ENOMEM:
        return StoreFailure(ERROR_OUTOFMEMORY);
    default:
        return StoreFailure(IsOutOfSpace(error) ? ERROR_DISK_FULL : ERROR_REGISTRY_IO_FAILED);
    }
}

} // namespace reg
