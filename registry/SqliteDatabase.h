#pragma once

#include <chrono>
#include <memory>
#include <string>

struct sqlite3;

// One open SQLite connection, closed (and any transaction still open on it rolled back) when it
// goes out of scope. It treats the file as data only: defensive mode, no trust in the schema,
// no triggers and no views, so a file made by someone else can't run SQL of its own. Failures
// throw SqliteError with SQLite's message.
class SqliteDatabase {
public:
    using Clock = std::chrono::steady_clock;

    // flags are SQLite's open flags.
    SqliteDatabase(const std::string& path, int flags);

    sqlite3* handle() const { return db_.get(); }

    // Every statement from now on ends by the deadline, and every wait for a lock another
    // connection holds by waitUntil: SQLite's own timeout starts again at each lock, so one call
    // could wait several times as long.
    void limit(Clock::time_point deadline, Clock::time_point waitUntil);

    // Runs SQL that is written into the program; values always go through SqliteStatement.
    void execute(const char* sql);

    // Throws the connection's error for the result code rc.
    [[noreturn]] void fail(int rc) const;
    // The result code of the first statement that failed on this connection, or SQLITE_OK: what
    // a caller that only sees its own errors (clsRegistry's) needs to tell a full disk from a
    // busy store.
    int firstFailure() const { return firstFailure_; }

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    struct Deadline {
        Clock::time_point at;
        Clock::time_point waitUntil;
    };
    std::unique_ptr<sqlite3, Closer> db_;
    // On the heap, so that SQLite's handlers keep finding them when the connection is moved.
    std::unique_ptr<Deadline> deadline_ = std::make_unique<Deadline>();
    mutable int firstFailure_ = 0;
};
