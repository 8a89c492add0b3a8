#pragma once

#include <sqlite3.h>

#include <stdexcept>
#include <string>

// A store operation that failed, with SQLite's result code and its own message. The store's
// own refusals (a file that is not a store, a key that can't be deleted) come as the code
// SQLite would give for them and a message of the store's.
class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}

    int code() const { return code_; }
    // Another copy of the game held the store for longer than this call would wait, or the
    // call's deadline passed.
    bool busy() const {
        const int primary = code_ & 0xff;
        return primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_INTERRUPT;
    }

private:
    int code_ = SQLITE_ERROR;
};
