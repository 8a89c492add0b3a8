#include "ChildProcess.h"
#include "TempStore.h"

#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"
#include "registry/clsRegistry.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/file.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

using namespace reg;
namespace fs = std::filesystem;

namespace {

constexpr auto kKey = "Software\\Korvell";
const RawValue kText = Text("x");

void Sql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

ByteArray Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return fs::is_directory(path) ? ByteArray() : ByteArray(std::istreambuf_iterator(file), {});
}

} // namespace

// Each case spoils a store of a good number of pages.
TEST(StoreFile, AFileThatIsNotAStoreFailsEveryCallAndIsNeverWritten) {
    const std::function<void(const std::string&)> cases[] = {
        [](const std::string& p) { std::ofstream(p) << std::string(5000, 'Z'); },
        [](const std::string& p) { fs::resize_file(p, 0); },
        [](const std::string& p) { fs::resize_file(p, fs::file_size(p) - 9); }, // in a page
        [](const std::string& p) { fs::remove(p), fs::create_directory(p); },
        [](const std::string& p) { Sql(p, "PRAGMA application_id = 7"); },
        [](const std::string& p) { Sql(p, "PRAGMA user_version = 2"); },
    };
    for (const auto& spoil : cases) {
        TempStore store;
        for (int i = 0; i < 40; ++i) {
            PutValue(HKEY_LOCAL_MACHINE, kKey + std::to_string(i), "",
                     {REG_BINARY, ByteArray(2000)});
        }
        spoil(store.path);
        const ByteArray before = Bytes(store.path);
        EXPECT_THROW(RegistryStore(RegistryStore::Kind::Read), SqliteError);
        EXPECT_THROW(PutValue(HKEY_CURRENT_USER, "", "V", kText), SqliteError);
        EXPECT_EQ(Bytes(store.path), before);
    }
}

// Reads of a missing store see the keys every store has and make nothing; the first write makes
// the store, private to the player, where a link points, and clears what a killed maker left
// unless another copy holds the directory to make a store there.
TEST(StoreFile, OnlyAWriteMakesAPrivateStore) {
    TempStore store;
    store.PointAt(store.dir + "/link.db");
    fs::create_symlink("deep/er/store.db", store.path);
    clsRegistry registry;
    registry.ClassKey(static_cast<std::int32_t>(HKEY_CLASSES_ROOT));
    EXPECT_TRUE(registry.KeyExists());
    EXPECT_FALSE(fs::exists(store.dir + "/deep"));
    PutValue(HKEY_LOCAL_MACHINE, kKey, "V", kText);
    EXPECT_EQ(fs::status(store.dir + "/deep").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(store.path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    const std::string left = store.dir + "/deep/er/store.db.new-AbCdEf";
    std::ofstream{left};
    std::ofstream{left + "-journal"};
    const int directory = open((store.dir + "/deep/er").c_str(), O_RDONLY);
    ASSERT_EQ(flock(directory, LOCK_EX), 0);
    PutValue(HKEY_LOCAL_MACHINE, kKey, "V", kText);
    EXPECT_TRUE(fs::exists(left));
    close(directory);
    PutValue(HKEY_LOCAL_MACHINE, kKey, "V", kText);
    EXPECT_EQ(std::distance(fs::directory_iterator(store.dir + "/deep/er"), {}), 1);
}

// Root passes every permission check, so the child gives up root for "nobody" to meet the
// refusal a player's own read-only store gives: it opens for a write, reads, and changes nothing.
TEST(StoreFile, AReadOnlyStoreAnswersReadsAndRefusesWrites) {
    TempStore store;
    PutValue(HKEY_LOCAL_MACHINE, kKey, "V", kText);
    const ByteArray before = Bytes(store.path);
    fs::permissions(store.path, fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(store.dir, fs::perms::owner_read | fs::perms::owner_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
    ChildProcess child([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 90;
        }
        RegistryStore store(RegistryStore::Kind::Write);
        if (store.GetValue(store.CreateKey(HKEY_LOCAL_MACHINE, kKey), "v") != kText) {
            return 1;
        }
        try {
            store.SetValue(*store.FindKey(HKEY_LOCAL_MACHINE, kKey), "V", 1, {});
        } catch (const SqliteError&) {
            return 0;
        }
        return 2;
    });
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_EQ(Bytes(store.path), before);
}
