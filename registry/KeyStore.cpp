#include "registry/KeyStore.h"

#include "registry/KeyPath.h"
#include "registry/SqliteDatabase.h"
#include "registry/SqliteStatement.h"

#include <sqlite3.h>

namespace reg {

bool KeyStore::KeyExists(KeyId key) {
    SqliteStatement statement(db_.Handle(), "SELECT 1 FROM keys WHERE id = ?");
    return statement.Bind(1, key).Step();
}

std::optional<KeyId> KeyStore::FindSubkey(KeyId parent, std::string_view name) {
    SqliteStatement statement(db_.Handle(), "SELECT id FROM keys WHERE parent = ? AND fold = ?");
    if (!statement.Bind(1, parent).Bind(2, FoldName(name)).Step()) {
        return std::nullopt;
    }
    return statement.Integer(0);
}

KeyId KeyStore::CreateSubkey(KeyId parent, std::string_view name) {
    SqliteStatement statement(db_.Handle(),
                              "INSERT INTO keys (parent, name, fold) VALUES (?, ?, ?)");
    statement.Bind(1, parent).Bind(2, name).Bind(3, FoldName(name)).Step();
    return sqlite3_last_insert_rowid(db_.Handle());
}

bool KeyStore::HasSubkeys(KeyId key) {
    SqliteStatement statement(db_.Handle(), "SELECT 1 FROM keys WHERE parent = ? LIMIT 1");
    return statement.Bind(1, key).Step();
}

std::optional<std::string> KeyStore::SubkeyName(KeyId key, DWORD index) {
    SqliteStatement statement(
        db_.Handle(), "SELECT name FROM keys WHERE parent = ? ORDER BY fold LIMIT 1 OFFSET ?");
    if (!statement.Bind(1, key).Bind(2, std::int64_t{index}).Step()) {
        return std::nullopt;
    }
    return statement.Text(0);
}

void KeyStore::DeleteKey(KeyId key) {
    SqliteStatement(db_.Handle(), "DELETE FROM vals WHERE key = ?").Bind(1, key).Step();
    SqliteStatement(db_.Handle(), "DELETE FROM keys WHERE id = ?").Bind(1, key).Step();
}

std::optional<StoredValue> KeyStore::FindValue(KeyId key, std::string_view name) {
    SqliteStatement statement(db_.Handle(),
                              "SELECT name, type, data FROM vals WHERE key = ? AND fold = ?");
    if (!statement.Bind(1, key).Bind(2, FoldName(name)).Step()) {
        return std::nullopt;
    }
    return StoredValue{statement.Text(0), static_cast<DWORD>(statement.Integer(1)),
                       statement.Bytes(2)};
}

void KeyStore::SetValue(KeyId key, std::string_view name, DWORD type,
                        std::span<const std::uint8_t> data) {
    SqliteStatement statement(
        db_.Handle(), "INSERT INTO vals (key, name, fold, type, data) VALUES (?, ?, ?, ?, ?)"
                      " ON CONFLICT (key, fold) DO UPDATE"
                      " SET type = excluded.type, data = excluded.data");
    statement.Bind(1, key).Bind(2, name).Bind(3, FoldName(name)).Bind(4, std::int64_t{type});
    statement.Bind(5, data).Step();
}

bool KeyStore::DeleteValue(KeyId key, std::string_view name) {
    SqliteStatement statement(db_.Handle(), "DELETE FROM vals WHERE key = ? AND fold = ?");
    statement.Bind(1, key).Bind(2, FoldName(name)).Step();
    return sqlite3_changes(db_.Handle()) != 0;
}

std::optional<StoredValue> KeyStore::ValueAt(KeyId key, DWORD index) {
    SqliteStatement statement(
        db_.Handle(),
        "SELECT name, type, data FROM vals WHERE key = ? ORDER BY rowid LIMIT 1 OFFSET ?");
    if (!statement.Bind(1, key).Bind(2, std::int64_t{index}).Step()) {
        return std::nullopt;
    }
    return StoredValue{statement.Text(0), static_cast<DWORD>(statement.Integer(1)),
                       statement.Bytes(2)};
}

KeyInfo KeyStore::Info(KeyId key) {
    KeyInfo info;
    SqliteStatement subkeys(db_.Handle(),
                            "SELECT count(*), coalesce(max(length(name)), 0) FROM keys"
                            " WHERE parent = ?");
    subkeys.Bind(1, key).Step();
    info.subkeys = static_cast<DWORD>(subkeys.Integer(0));
    info.longestSubkeyName = static_cast<DWORD>(subkeys.Integer(1));
    SqliteStatement values(db_.Handle(), "SELECT count(*), coalesce(max(length(name)), 0),"
                                         " coalesce(max(length(data)), 0) FROM vals WHERE key = ?");
    values.Bind(1, key).Step();
    info.values = static_cast<DWORD>(values.Integer(0));
    info.longestValueName = static_cast<DWORD>(values.Integer(1));
    info.longestValueData = static_cast<DWORD>(values.Integer(2));
    return info;
}

} // namespace reg
