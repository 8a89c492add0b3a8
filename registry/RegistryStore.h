#pragma once

#include "registry/SqliteDatabase.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The keys and values of the store file, in clsRegistry's terms. Each object is one
// transaction: made, it begins one; `commit` ends it, and going out of scope without a `commit`
// undoes all of it. One made as a part of another is a savepoint in it, which its own `commit` or
// failure settles while the outer one decides for the whole. A caller that wants several
// clsRegistry calls as one all-or-nothing step hands them its transaction:
//
//     RegistryStore record(RegistryStore::Kind::Write);
//     clsRegistry registry(record);
//     registry.Value(...); registry.Value(...);
//     record.commit();
//
// Roots are the predefined root handles (HKEY_LOCAL_MACHINE...), paths are subkey paths below
// them. Every failure throws SqliteError.
class RegistryStore {
public:
    enum class Kind { Read, Write };
    using KeyId = std::int64_t;
    struct Value {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        bool operator==(const Value&) const = default;
    };

    using Clock = SqliteDatabase::Clock;

    // How long a call may take, waits for another copy of the game included: short enough that
    // the game's window never freezes noticeably.
    static constexpr std::chrono::milliseconds kBusyWait{100};

    // A transaction of its own, begun, worked and committed by the deadline. Without
    // waitForStore it gives up at once when another copy of the game holds the store.
    explicit RegistryStore(Kind kind, Clock::time_point deadline = Clock::now() + kBusyWait,
                           bool waitForStore = true);
    // A part of outer when there is one (a write can't be part of a read), else a transaction
    // of its own.
    RegistryStore(Kind kind, RegistryStore* outer);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    void commit();
    // Whether this copy of the game may not change the store: every change would fail.
    bool readOnly();
    // The result code of the first statement that failed in the transaction, or SQLITE_OK.
    int firstFailure() { return db().firstFailure(); }

    std::optional<KeyId> findKey(std::uint32_t root, const std::string& path);
    // Finds the key, or makes it with every missing key above it.
    KeyId createKey(std::uint32_t root, const std::string& path);
    // Refuses a missing key, a root, SOFTWARE\Classes and a key that still has subkeys.
    void deleteKey(std::uint32_t root, const std::string& path);

    std::optional<Value> getValue(KeyId key, const std::string& name);
    // Overwriting keeps the value's first spelling and its place in the listing.
    void setValue(KeyId key, const std::string& name, std::uint32_t type,
                  std::span<const std::uint8_t> data);
    // False when there was no such value.
    bool deleteValue(KeyId key, const std::string& name);

    // In the order they were first written.
    std::vector<std::string> valueNames(KeyId key);
    // Sorted by name without regard to case.
    std::vector<std::string> subkeyNames(KeyId key);

private:
    SqliteDatabase& db() { return outer_ ? outer_->db() : *db_; }
    std::optional<KeyId> walk(std::uint32_t root, const std::string& path, bool create);
    std::vector<std::string> names(const char* sql, KeyId key);

    RegistryStore* outer_ = nullptr;
    std::optional<SqliteDatabase> db_;
    Kind kind_ = Kind::Read;
    bool open_ = true;
};
