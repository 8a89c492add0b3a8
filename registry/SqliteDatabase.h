#pragma once

#include <memory>
#include <string>

struct sqlite3;

// One open SQLite connection, closed (and any transaction still open on it rolled back) when it
// goes out of scope. Failures throw SqliteError with SQLite's message.
class SqliteDatabase {
public:
    // flags are SQLite's open flags.
    SqliteDatabase(const std::string& path, int flags);

    sqlite3* Handle() const { return db_.get(); }

    // Runs SQL that is written into the program; values always go through SqliteStatement.
    void Execute(const char* sql);

    // Throws the connection's error for the result code rc.
    [[noreturn]] void Fail(int rc) const;

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
};
