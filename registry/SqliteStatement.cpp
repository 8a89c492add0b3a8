#include "registry/SqliteStatement.h"

#include "registry/SqliteDatabase.h"

#include <sqlite3.h>

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteStatement::SqliteStatement(const SqliteDatabase& db, std::string_view sql) : db_(db) {
    sqlite3_stmt* statement = nullptr;
    check(sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &statement,
                             nullptr));
    statement_.reset(statement);
}

void SqliteStatement::check(int rc) const {
    if (rc != SQLITE_OK)
        db_.fail(rc);
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    check(sqlite3_bind_int64(statement_.get(), index, value));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::span<const std::uint8_t> bytes) {
    // A null pointer would bind NULL instead of an empty blob, and an empty name or value is a
    // real one.
    static constexpr std::uint8_t kNothing = 0;
    check(sqlite3_bind_blob64(statement_.get(), index, bytes.empty() ? &kNothing : bytes.data(),
                              bytes.size(), SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view bytes) {
    return bind(index,
                std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(statement_.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        db_.fail(rc);
    return rc == SQLITE_ROW;
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(statement_.get(), column);
}

std::vector<std::uint8_t> SqliteStatement::bytes(int column) const {
    const auto* data =
        static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_.get(), column));
    return data ? std::vector<std::uint8_t>(data,
                                            data + sqlite3_column_bytes(statement_.get(), column))
                : std::vector<std::uint8_t>();
}

std::string SqliteStatement::text(int column) const {
    const std::vector<std::uint8_t> data = bytes(column);
    return std::string(data.begin(), data.end());
}
