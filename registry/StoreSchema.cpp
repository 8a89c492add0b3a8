#include "registry/StoreSchema.h"

#include "registry/SqliteDatabase.h"
#include "registry/SqliteStatement.h"

#include <sqlite3.h>

namespace reg {

namespace {

// "VNRG" in the header's application-id field; it has to match the number in kCreate.
constexpr std::int64_t kApplicationId = 0x564E5247;
constexpr std::int64_t kSchemaVersion = 1;

constexpr KeyId kCurrentUser = 1;
constexpr KeyId kLocalMachine = 2;
constexpr KeyId kUsers = 3;
constexpr KeyId kCurrentConfig = 4;
constexpr KeyId kClasses = 6;
constexpr KeyId kLastPermanent = kClasses;

// Names are kept as written and found by "fold", their upper-case form, so "Software" and
// "SOFTWARE" are one key that keeps the spelling it was made with. Keys get ids that are never
// used again (AUTOINCREMENT): a handle to a deleted key must not wake up on a newer one.
// Values keep their rowid when they are overwritten, which keeps their place in enumeration.
constexpr const char* kCreate = R"sql(
PRAGMA application_id = 1447973447;
PRAGMA user_version = 1;
CREATE TABLE keys (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER,
    name BLOB NOT NULL,
    fold BLOB NOT NULL
);
CREATE UNIQUE INDEX keys_by_name ON keys (parent, fold);
CREATE TABLE vals (
    key INTEGER NOT NULL,
    name BLOB NOT NULL,
    fold BLOB NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL
);
CREATE UNIQUE INDEX vals_by_name ON vals (key, fold);
INSERT INTO keys (id, parent, name, fold) VALUES
    (1, NULL, 'HKEY_CURRENT_USER', ''),
    (2, NULL, 'HKEY_LOCAL_MACHINE', ''),
    (3, NULL, 'HKEY_USERS', ''),
    (4, NULL, 'HKEY_CURRENT_CONFIG', ''),
    (5, 2, CAST('SOFTWARE' AS BLOB), CAST('SOFTWARE' AS BLOB)),
    (6, 5, CAST('Classes' AS BLOB), CAST('CLASSES' AS BLOB));
)sql";

std::int64_t Pragma(SqliteDatabase& db, const char* sql) {
    SqliteStatement statement(db.Handle(), sql);
    return statement.Step() ? statement.Integer(0) : 0;
}

} // namespace

void StoreSchema::Create(SqliteDatabase& db) {
    db.Execute(kCreate);
}

bool StoreSchema::Recognises(SqliteDatabase& db) {
    return Pragma(db, "PRAGMA application_id") == kApplicationId &&
           Pragma(db, "PRAGMA user_version") == kSchemaVersion;
}

std::optional<KeyId> StoreSchema::RootKey(HKEY root) {
    switch (root) {
    case HKEY_CLASSES_ROOT:
        return kClasses;
    case HKEY_CURRENT_USER:
        return kCurrentUser;
    case HKEY_LOCAL_MACHINE:
        return kLocalMachine;
    case HKEY_USERS:
        return kUsers;
    case HKEY_CURRENT_CONFIG:
        return kCurrentConfig;
    default:
        return std::nullopt;
    }
}

bool StoreSchema::IsPermanent(KeyId key) {
    return key <= kLastPermanent;
}

} // namespace reg
