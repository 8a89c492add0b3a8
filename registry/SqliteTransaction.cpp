#include "registry/SqliteTransaction.h"

#include "registry/SqliteDatabase.h"

#include <sqlite3.h>

namespace reg {

SqliteTransaction::SqliteTransaction(SqliteDatabase& db, Kind kind) : db_(db) {
    // A writer takes the write lock before it reads anything. Two copies of the game that both
    // read first and then wanted to write would each wait for the other; this way the second
    // one waits at the start, inside the busy timeout, and then goes ahead.
    db_.Execute(kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN");
    open_ = true;
}

SqliteTransaction::~SqliteTransaction() {
    // SQLite may already have rolled back by itself after a failed write (a full disk, for
    // one); then there is nothing left to end.
    if (open_ && sqlite3_get_autocommit(db_.Handle()) == 0) {
        sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void SqliteTransaction::Commit() {
    db_.Execute("COMMIT");
    open_ = false;
}

} // namespace reg
