#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class SqliteDatabase;
struct sqlite3_stmt;

// A prepared statement with its parameters bound by position (from 1), stepped row by row.
// Names and data are bound and read as blobs, so every byte of them survives as it was given.
class SqliteStatement {
public:
    SqliteStatement(const SqliteDatabase& db, std::string_view sql);

    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, std::span<const std::uint8_t> bytes);
    SqliteStatement& bind(int index, std::string_view bytes);

    // True while there is a row to read; false once the statement is done.
    bool step();

    std::int64_t integer(int column) const;
    std::vector<std::uint8_t> bytes(int column) const;
    std::string text(int column) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    void check(int rc) const;

    const SqliteDatabase& db_;
    std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};
