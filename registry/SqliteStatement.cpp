#include "registry/SqliteStatement.h"

#include "registry/StoreFailure.h"

#include <sqlite3.h>

namespace reg {

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
    sqlite3_stmt* statement = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement, nullptr);
    statement_.reset(statement);
    if (rc != SQLITE_OK) {
        throw StoreFailure::FromSqlite(db, rc);
    }
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value) {
    const int rc = sqlite3_bind_int64(statement_.get(), index, value);
    if (rc != SQLITE_OK) {
        throw StoreFailure::FromSqlite(db_, rc);
    }
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view bytes) {
    BindBlob(index, bytes.data(), bytes.size());
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::span<const std::uint8_t> bytes) {
    BindBlob(index, bytes.data(), bytes.size());
    return *this;
}

void SqliteStatement::BindBlob(int index, const void* data, std::size_t size) {
    // A null pointer would bind NULL instead of an empty blob, and an empty name or value is a
    // real one.
    static constexpr char kNothing = 0;
    const int rc = sqlite3_bind_blob64(statement_.get(), index, data != nullptr ? data : &kNothing,
                                       size, SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) {
        throw StoreFailure::FromSqlite(db_, rc);
    }
}

bool SqliteStatement::Step() {
    const int rc = sqlite3_step(statement_.get());
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    throw StoreFailure::FromSqlite(db_, rc);
}

std::int64_t SqliteStatement::Integer(int column) const {
    return sqlite3_column_int64(statement_.get(), column);
}

std::string SqliteStatement::Text(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_.get(), column));
    const int size = sqlite3_column_bytes(statement_.get(), column);
    return data != nullptr ? std::string(data, static_cast<std::size_t>(size)) : std::string();
}

std::vector<std::uint8_t> SqliteStatement::Bytes(int column) const {
    const auto* data =
        static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_.get(), column));
    const int size = sqlite3_column_bytes(statement_.get(), column);
    return data != nullptr ? std::vector<std::uint8_t>(data, data + size)
                           : std::vector<std::uint8_t>();
}

} // namespace reg
