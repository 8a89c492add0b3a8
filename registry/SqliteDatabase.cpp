#include "registry/SqliteDatabase.h"

#include "registry/SqliteError.h"

#include <sqlite3.h>

void SqliteDatabase::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

SqliteDatabase::SqliteDatabase(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    // SQLite hands out a connection even when the open fails; it still has to be closed.
    db_.reset(db);
    if (rc != SQLITE_OK)
        Fail(rc);
    sqlite3_extended_result_codes(db, 1);
}

void SqliteDatabase::Execute(const char* sql) {
    const int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Fail(rc);
}

void SqliteDatabase::Fail(int rc) const {
    throw SqliteError(rc, db_ ? sqlite3_errmsg(db_.get()) : sqlite3_errstr(rc));
}
