#include "registry/SqliteDatabase.h"

#include "registry/StoreFailure.h"

#include <sqlite3.h>

namespace reg {

void SqliteDatabase::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

SqliteDatabase::SqliteDatabase(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    // SQLite hands out a connection even when the open fails; it still has to be closed.
    db_.reset(db);
    if (rc != SQLITE_OK) {
        throw StoreFailure::FromSqlite(db, rc);
    }
    sqlite3_extended_result_codes(db, 1);
}

void SqliteDatabase::Execute(const char* sql) {
    const int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        throw StoreFailure::FromSqlite(db_.get(), rc);
    }
}

} // namespace reg
