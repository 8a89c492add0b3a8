#include "registry/SqliteDatabase.h"

#include "registry/SqliteError.h"

#include <sqlite3.h>

#include <algorithm>
#include <thread>

namespace {

// How many of SQLite's virtual machine steps run between two looks at the clock: a few
// microseconds of work.
constexpr int kStepsBetweenLooks = 1000;
// How long a wait for another connection's lock sleeps before it tries again.
constexpr std::chrono::milliseconds kBusyPause{1};

} // namespace

void SqliteDatabase::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

SqliteDatabase::SqliteDatabase(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    // SQLite hands out a connection even when the open fails; it still has to be closed.
    db_.reset(db);
    if (rc != SQLITE_OK)
        fail(rc);
    sqlite3_extended_result_codes(db, 1);
    // SQLite's own advice for files that may come from someone else.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
}

void SqliteDatabase::limit(Clock::time_point deadline, Clock::time_point waitUntil) {
    *deadline_ = {deadline, waitUntil};
    sqlite3_busy_handler(
        db_.get(),
        [](void* data, int) {
            const auto& limit = *static_cast<const Deadline*>(data);
            const auto now = Clock::now();
            if (now >= limit.waitUntil)
                return 0;
            std::this_thread::sleep_for(
                std::min<Clock::duration>(limit.waitUntil - now, kBusyPause));
            return 1;
        },
        deadline_.get());
    sqlite3_progress_handler(
        db_.get(), kStepsBetweenLooks,
        [](void* data) { return Clock::now() >= static_cast<const Deadline*>(data)->at ? 1 : 0; },
        deadline_.get());
}

void SqliteDatabase::execute(const char* sql) {
    const int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

void SqliteDatabase::fail(int rc) const {
    if (firstFailure_ == SQLITE_OK)
        firstFailure_ = rc;
    throw SqliteError(rc, db_ ? sqlite3_errmsg(db_.get()) : sqlite3_errstr(rc));
}
