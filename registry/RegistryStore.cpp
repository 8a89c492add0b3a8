#include "registry/RegistryStore.h"

#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"
#include "registry/SqliteStatement.h"
#include "registry/StoreFile.h"

#include <sqlite3.h>

#include <utility>

namespace {

// The keys every store has from the start (see StoreFile): the roots, and
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes, which is HKEY_CLASSES_ROOT under another name.
constexpr RegistryStore::KeyId kLastPermanentKey = 6;

// Longest key name part and value name the store takes, in bytes.
constexpr std::size_t kLongestKeyName = 255;
constexpr std::size_t kLongestValueName = 16383;

[[noreturn]] void refuse(const std::string& why) {
    throw SqliteError(SQLITE_ERROR, why);
}

RegistryStore::KeyId rootKey(std::uint32_t root) {
    constexpr std::pair<std::uint32_t, RegistryStore::KeyId> kRoots[] = {
        {reg::HKEY_CURRENT_USER, 1},
        {reg::HKEY_LOCAL_MACHINE, 2},
        {reg::HKEY_USERS, 3},
        {reg::HKEY_CURRENT_CONFIG, 4},
        {reg::HKEY_CLASSES_ROOT, kLastPermanentKey}};
    for (const auto& [handle, key] : kRoots) {
        if (handle == root)
            return key;
    }
    refuse("no such root: " + std::to_string(root));
}

// Only the ASCII letters match without regard to case; "Ä" and "ä" stay two names.
std::string fold(std::string name) {
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}

// "" is the root itself, and one trailing backslash is allowed; a leading one or an empty part
// in between is not.
std::vector<std::string> splitPath(std::string_view path) {
    std::vector<std::string> parts;
    if (path.ends_with('\\'))
        path.remove_suffix(1);
    while (!path.empty() || !parts.empty()) {
        const std::string_view part = path.substr(0, path.find('\\'));
        if (part.empty() || part.size() > kLongestKeyName)
            refuse("bad key path");
        parts.emplace_back(part);
        if (part.size() == path.size())
            break;
        path.remove_prefix(part.size() + 1);
    }
    return parts;
}

const std::string& valueName(const std::string& name) {
    if (name.size() > kLongestValueName)
        refuse("value name too long");
    return name;
}

} // namespace

RegistryStore::RegistryStore(Kind kind, Clock::time_point deadline, bool waitForStore)
    : db_(StoreFile::open(kind == Kind::Write, deadline, waitForStore)), kind_(kind) {}

RegistryStore::RegistryStore(Kind kind, RegistryStore* outer) : outer_(outer), kind_(kind) {
    if (outer_ == nullptr) {
        db_.emplace(StoreFile::open(kind == Kind::Write, Clock::now() + kBusyWait, true));
        return;
    }
    if (kind == Kind::Write && outer_->kind_ == Kind::Read)
        throw SqliteError(SQLITE_MISUSE, "a write can't be part of a read");
    db().execute("SAVEPOINT part");
}

RegistryStore::~RegistryStore() {
    // An outer transaction still open is rolled back by closing its connection.
    if (outer_ && open_)
        sqlite3_exec(db().handle(), "ROLLBACK TO part; RELEASE part", nullptr, nullptr, nullptr);
}

void RegistryStore::commit() {
    db().execute(outer_ ? "RELEASE part" : "COMMIT");
    open_ = false;
}

bool RegistryStore::readOnly() {
    return sqlite3_db_readonly(db().handle(), "main") == 1;
}

std::optional<RegistryStore::KeyId> RegistryStore::findKey(std::uint32_t root,
                                                           const std::string& path) {
    return walk(root, path, false);
}

RegistryStore::KeyId RegistryStore::createKey(std::uint32_t root, const std::string& path) {
    return *walk(root, path, true);
}

std::optional<RegistryStore::KeyId> RegistryStore::walk(std::uint32_t root, const std::string& path,
                                                        bool create) {
    KeyId key = rootKey(root);
    for (const std::string& part : splitPath(path)) {
        SqliteStatement find(db(), "SELECT id FROM keys WHERE parent = ? AND fold = ?");
        if (find.bind(1, key).bind(2, fold(part)).step()) {
            key = find.integer(0);
        } else if (create) {
            SqliteStatement(db(), "INSERT INTO keys (parent, name, fold) VALUES (?, ?, ?)")
                .bind(1, key)
                .bind(2, part)
                .bind(3, fold(part))
                .step();
            key = sqlite3_last_insert_rowid(db().handle());
        } else {
            return std::nullopt;
        }
    }
    return key;
}

void RegistryStore::deleteKey(std::uint32_t root, const std::string& path) {
    const std::optional<KeyId> key = findKey(root, path);
    if (!key || *key <= kLastPermanentKey || !subkeyNames(*key).empty())
        refuse("key can't be deleted: " + path);
    SqliteStatement(db(), "DELETE FROM vals WHERE key = ?").bind(1, *key).step();
    SqliteStatement(db(), "DELETE FROM keys WHERE id = ?").bind(1, *key).step();
}

std::optional<RegistryStore::Value> RegistryStore::getValue(KeyId key, const std::string& name) {
    SqliteStatement find(db(), "SELECT type, data FROM vals WHERE key = ? AND fold = ?");
    if (!find.bind(1, key).bind(2, fold(valueName(name))).step())
        return std::nullopt;
    return Value{static_cast<std::uint32_t>(find.integer(0)), find.bytes(1)};
}

void RegistryStore::setValue(KeyId key, const std::string& name, std::uint32_t type,
                             std::span<const std::uint8_t> data) {
    SqliteStatement set(db(),
                        "INSERT INTO vals (key, name, fold, type, data) VALUES (?, ?, ?, ?, ?)"
                        " ON CONFLICT (key, fold) DO UPDATE"
                        " SET type = excluded.type, data = excluded.data");
    set.bind(1, key).bind(2, valueName(name)).bind(3, fold(name)).bind(4, std::int64_t{type});
    set.bind(5, data).step();
}

bool RegistryStore::deleteValue(KeyId key, const std::string& name) {
    SqliteStatement(db(), "DELETE FROM vals WHERE key = ? AND fold = ?")
        .bind(1, key)
        .bind(2, fold(valueName(name)))
        .step();
    return sqlite3_changes(db().handle()) != 0;
}

std::vector<std::string> RegistryStore::valueNames(KeyId key) {
    return names("SELECT name FROM vals WHERE key = ? ORDER BY rowid", key);
}

std::vector<std::string> RegistryStore::subkeyNames(KeyId key) {
    return names("SELECT name FROM keys WHERE parent = ? ORDER BY fold", key);
}

std::vector<std::string> RegistryStore::names(const char* sql, KeyId key) {
    std::vector<std::string> names;
    SqliteStatement list(db(), sql);
    for (list.bind(1, key); list.step();)
        names.push_back(list.text(0));
    return names;
}
