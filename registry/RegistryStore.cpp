#include "registry/RegistryStore.h"

#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"
#include "registry/SqliteStatement.h"
#include "registry/StoreFile.h"

#include <sqlite3.h>

#include <utility>

namespace {

// The transaction open on this thread, which any made after it joins. A thread-wide setting
// rather than a parameter, as clsRegistry's members are called without one.
thread_local RegistryStore* openTransaction = nullptr;

// The keys every store has from the start (see StoreFile): the roots, and
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes, which is HKEY_CLASSES_ROOT under another name.
constexpr RegistryStore::KeyId kLastPermanentKey = 6;

// Longest key name part and value name the store takes, in bytes.
constexpr std::size_t kLongestKeyName = 255;
constexpr std::size_t kLongestValueName = 16383;

[[noreturn]] void Refuse(const std::string& why) {
    throw SqliteError(SQLITE_ERROR, why);
}

RegistryStore::KeyId RootKey(std::uint32_t root) {
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
    Refuse("no such root: " + std::to_string(root));
}

// Only the ASCII letters match without regard to case; "Ä" and "ä" stay two names.
std::string Fold(std::string name) {
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return name;
}

// "" is the root itself, and one trailing backslash is allowed; a leading one or an empty part
// in between is not.
std::vector<std::string> SplitPath(std::string_view path) {
    std::vector<std::string> parts;
    if (path.ends_with('\\'))
        path.remove_suffix(1);
    while (!path.empty() || !parts.empty()) {
        const std::string_view part = path.substr(0, path.find('\\'));
        if (part.empty() || part.size() > kLongestKeyName)
            Refuse("bad key path");
        parts.emplace_back(part);
        if (part.size() == path.size())
            break;
        path.remove_prefix(part.size() + 1);
    }
    return parts;
}

const std::string& ValueName(const std::string& name) {
    if (name.size() > kLongestValueName)
        Refuse("value name too long");
    return name;
}

} // namespace

RegistryStore::RegistryStore(Kind kind, std::chrono::milliseconds busyWait) : kind_(kind) {
    if (openTransaction != nullptr) {
        if (kind == Kind::Write && openTransaction->kind_ == Kind::Read)
            throw SqliteError(SQLITE_MISUSE, "a write can't be part of a read");
        outer_ = openTransaction;
        Db().Execute("SAVEPOINT part");
    } else {
        db_.emplace(StoreFile::Open(kind == Kind::Write, busyWait));
    }
    openTransaction = this;
}

RegistryStore::~RegistryStore() {
    openTransaction = outer_;
    // An outer transaction still open is rolled back by closing its connection.
    if (outer_ && open_)
        sqlite3_exec(Db().Handle(), "ROLLBACK TO part; RELEASE part", nullptr, nullptr, nullptr);
}

void RegistryStore::Commit() {
    Db().Execute(outer_ ? "RELEASE part" : "COMMIT");
    open_ = false;
}

std::optional<RegistryStore::KeyId> RegistryStore::FindKey(std::uint32_t root,
                                                           const std::string& path) {
    return Walk(root, path, false);
}

RegistryStore::KeyId RegistryStore::CreateKey(std::uint32_t root, const std::string& path) {
    return *Walk(root, path, true);
}

std::optional<RegistryStore::KeyId> RegistryStore::Walk(std::uint32_t root, const std::string& path,
                                                        bool create) {
    KeyId key = RootKey(root);
    for (const std::string& part : SplitPath(path)) {
        SqliteStatement find(Db(), "SELECT id FROM keys WHERE parent = ? AND fold = ?");
        if (find.Bind(1, key).Bind(2, Fold(part)).Step()) {
            key = find.Integer(0);
        } else if (create) {
            SqliteStatement(Db(), "INSERT INTO keys (parent, name, fold) VALUES (?, ?, ?)")
                .Bind(1, key)
                .Bind(2, part)
                .Bind(3, Fold(part))
                .Step();
            key = sqlite3_last_insert_rowid(Db().Handle());
        } else {
            return std::nullopt;
        }
    }
    return key;
}

void RegistryStore::DeleteKey(std::uint32_t root, const std::string& path) {
    const std::optional<KeyId> key = FindKey(root, path);
    if (!key || *key <= kLastPermanentKey || !SubkeyNames(*key).empty())
        Refuse("key can't be deleted: " + path);
    SqliteStatement(Db(), "DELETE FROM vals WHERE key = ?").Bind(1, *key).Step();
    SqliteStatement(Db(), "DELETE FROM keys WHERE id = ?").Bind(1, *key).Step();
}

std::optional<RegistryStore::Value> RegistryStore::GetValue(KeyId key, const std::string& name) {
    SqliteStatement find(Db(), "SELECT type, data FROM vals WHERE key = ? AND fold = ?");
    if (!find.Bind(1, key).Bind(2, Fold(ValueName(name))).Step())
        return std::nullopt;
    return Value{static_cast<std::uint32_t>(find.Integer(0)), find.Bytes(1)};
}

void RegistryStore::SetValue(KeyId key, const std::string& name, std::uint32_t type,
                             std::span<const std::uint8_t> data) {
    SqliteStatement set(Db(),
                        "INSERT INTO vals (key, name, fold, type, data) VALUES (?, ?, ?, ?, ?)"
                        " ON CONFLICT (key, fold) DO UPDATE"
                        " SET type = excluded.type, data = excluded.data");
    set.Bind(1, key).Bind(2, ValueName(name)).Bind(3, Fold(name)).Bind(4, std::int64_t{type});
    set.Bind(5, data).Step();
}

bool RegistryStore::DeleteValue(KeyId key, const std::string& name) {
    SqliteStatement(Db(), "DELETE FROM vals WHERE key = ? AND fold = ?")
        .Bind(1, key)
        .Bind(2, Fold(ValueName(name)))
        .Step();
    return sqlite3_changes(Db().Handle()) != 0;
}

std::vector<std::string> RegistryStore::ValueNames(KeyId key) {
    return Names("SELECT name FROM vals WHERE key = ? ORDER BY rowid", key);
}

std::vector<std::string> RegistryStore::SubkeyNames(KeyId key) {
    return Names("SELECT name FROM keys WHERE parent = ? ORDER BY fold", key);
}

std::vector<std::string> RegistryStore::Names(const char* sql, KeyId key) {
    std::vector<std::string> names;
    SqliteStatement list(Db(), sql);
    for (list.Bind(1, key); list.Step();)
        names.push_back(list.Text(0));
    return names;
}
