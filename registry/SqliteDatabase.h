#pragma once

#include <memory>
#include <string>

struct sqlite3;

namespace reg {

// One open SQLite connection, closed when it goes out of scope. The layer makes one per
// registry call and never keeps it longer.
class SqliteDatabase {
public:
    // flags are SQLite's open flags; a failed open throws StoreFailure.
    SqliteDatabase(const std::string& path, int flags);

    sqlite3* Handle() const { return db_.get(); }

    // Runs SQL that is written into the program; values always go through SqliteStatement.
    void Execute(const char* sql);

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
};

} // namespace reg
