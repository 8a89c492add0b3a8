#pragma once

#include "registry/RegistryStore.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A store of its own for one test case: VARNOTH_REGISTRY points at "store.db" in a new
// temporary directory while the object lives, and the directory goes with the object.
class TempStore {
public:
    TempStore() { pointAt(dir + "/store.db"); }
    ~TempStore() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    void pointAt(const std::string& to) { setenv("VARNOTH_REGISTRY", (path = to).c_str(), 1); }

    const std::string dir = [] {
        std::string pattern = std::filesystem::temp_directory_path() / "varnoth-XXXXXX";
        return mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("no temporary dir");
    }();
    std::string path;
};

// Values put and read straight through the store, as another program might: to set a store up
// for a case and to see afterwards what was really stored.
using RawValue = RegistryStore::Value;

// Throws as the store does when it refuses.
inline void putValue(std::uint32_t root, const std::string& key, const std::string& name,
                     const RawValue& value) {
    RegistryStore store(RegistryStore::Kind::Write);
    store.setValue(store.createKey(root, key), name, value.type, value.data);
    store.commit();
}

// A string value as it is stored: the text and its NUL.
inline RawValue textValue(std::string_view text) {
    RawValue value{1, {text.begin(), text.end()}};
    value.data.push_back(0);
    return value;
}

// Runs SQL on the store file as another program would, without the game's guards.
inline void runSql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw std::runtime_error(sql);
}
