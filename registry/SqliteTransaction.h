#pragma once

namespace reg {

class SqliteDatabase;

// One transaction on a connection: begun on construction, rolled back on destruction unless
// Commit was reached, so an error anywhere in a registry call leaves the store untouched.
class SqliteTransaction {
public:
    enum class Kind { Read, Write };

    SqliteTransaction(SqliteDatabase& db, Kind kind);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void Commit();

private:
    SqliteDatabase& db_;
    bool open_ = false;
};

} // namespace reg
