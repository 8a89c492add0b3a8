#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace reg {

// A prepared statement with its parameters bound by position (from 1), stepped row by row.
// Names and data are bound and read as blobs, so every byte of them survives as it was given.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);

    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& Bind(int index, std::string_view bytes);
    SqliteStatement& Bind(int index, std::span<const std::uint8_t> bytes);

    // True while there is a row to read; false once the statement is done.
    bool Step();

    std::int64_t Integer(int column) const;
    std::string Text(int column) const;
    std::vector<std::uint8_t> Bytes(int column) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    void BindBlob(int index, const void* data, std::size_t size);

    sqlite3* db_ = nullptr;
    std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

} // namespace reg
