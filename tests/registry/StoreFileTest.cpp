#include "ChildProcess.h"
#include "StoreProbe.h"
#include "TempStore.h"

#include "registry/RegistryError.h"
#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"
#include "registry/clsRegistry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace reg;
namespace fs = std::filesystem;

namespace {

constexpr auto kKey = "Software\\Korvell";

void RunSql(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// A store with enough in it to fill a good number of pages.
void FillStore() {
    for (int i = 0; i < 40; ++i) {
        PutValue(HKEY_LOCAL_MACHINE, std::string(kKey) + "\\K" + std::to_string(i), "Data",
                 {REG_BINARY, std::vector<std::uint8_t>(2000, 7)});
    }
}

int Mode(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 0777;
}

} // namespace

TEST(StoreFile, AFileThatIsNotAStoreFailsEveryCallAndIsNeverWritten) {
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> cases = {
        {"garbage", [](const std::string& p) { std::ofstream(p) << std::string(5000, 'Z'); }},
        {"empty file", [](const std::string& p) { std::ofstream{p}; }},
        {"cut inside its last page",
         [](const std::string& p) {
             FillStore();
             fs::resize_file(p, fs::file_size(p) - 100);
         }},
        {"cut at a page",
         [](const std::string& p) {
             FillStore();
             fs::resize_file(p, 4096 * 3);
         }},
        {"a directory", [](const std::string& p) { fs::create_directory(p); }},
        {"another program's database",
         [](const std::string& p) { RunSql(p, "CREATE TABLE players(name TEXT);"); }},
        {"a store of a later version",
         [](const std::string& p) {
             FillStore();
             RunSql(p, "PRAGMA user_version = 2;");
         }},
    };
    for (const auto& [what, make] : cases) {
        TempStore store;
        make(store.Path());
        const auto before =
            fs::is_directory(store.Path()) ? std::vector<std::uint8_t>{} : FileBytes(store.Path());
        for (const auto kind : {RegistryStore::Kind::Read, RegistryStore::Kind::Write}) {
            EXPECT_THROW(RegistryStore attempt(kind), SqliteError) << what;
        }
        EXPECT_FALSE(PutValue(HKEY_CURRENT_USER, "", "V", {REG_SZ, Sz("x")})) << what;
        EXPECT_EQ(fs::is_directory(store.Path()) ? before : FileBytes(store.Path()), before)
            << what;
    }
}

TEST(StoreFile, OnlyAWriteMakesAStoreWithPrivateModesAndNoTemporaryFileLeft) {
    TempStore store;
    std::ofstream(store.Directory() + "/plain") << "not a directory";
    store.PointAt(store.Directory() + "/plain/store.db");
    EXPECT_FALSE(PutValue(HKEY_LOCAL_MACHINE, kKey, "V", {REG_SZ, Sz("x")}));

    store.PointAt(store.Directory() + "/deep/er/store.db");
    clsRegistry registry;
    registry.ClassKey(static_cast<std::int32_t>(HKEY_LOCAL_MACHINE));
    registry.SectionKey("software\\CLASSES");
    std::vector<std::string> names;
    std::int32_t count = 0;
    EXPECT_TRUE(registry.KeyExists());
    EXPECT_TRUE(registry.EnumerateSections(names, count));
    EXPECT_EQ(registry.Value(), Variant{});
    EXPECT_FALSE(fs::exists(store.Directory() + "/deep"));

    ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, kKey, "V", {REG_SZ, Sz("x")}));
    EXPECT_EQ(Mode(store.Directory() + "/deep"), 0700);
    EXPECT_EQ(Mode(store.Path()), 0600);

    // A copy of the game killed while it made the store left these. They go with the next
    // write, unless another copy holds the directory to make a store there.
    const std::string left = store.Path() + ".new-AbCdEf";
    std::ofstream{left};
    std::ofstream{left + "-journal"};
    const int directory = open((store.Directory() + "/deep/er").c_str(), O_RDONLY);
    ASSERT_EQ(flock(directory, LOCK_EX), 0);
    EXPECT_TRUE(PutValue(HKEY_LOCAL_MACHINE, kKey, "V", {REG_SZ, Sz("y")}));
    EXPECT_TRUE(fs::exists(left));
    close(directory);
    EXPECT_TRUE(PutValue(HKEY_LOCAL_MACHINE, kKey, "V", {REG_SZ, Sz("z")}));
    EXPECT_EQ(std::distance(fs::directory_iterator(store.Directory() + "/deep/er"), {}), 1);
}

// A store path that is a link to a file not there yet is followed: the store is made where the
// link points, so a player's link to a store kept elsewhere keeps working.
TEST(StoreFile, ADanglingLinkIsFollowed) {
    TempStore store;
    fs::create_symlink("elsewhere/real.db", store.Path());
    ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, kKey, "V", {REG_SZ, Sz("x")}));
    EXPECT_TRUE(fs::is_regular_file(store.Directory() + "/elsewhere/real.db"));
    EXPECT_TRUE(fs::is_symlink(store.Path()));
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kKey, "v"), (RawValue{REG_SZ, Sz("x")}));
}

// Root passes every permission check, so a read-only file would still be written. The child
// therefore gives up root for "nobody" and meets the same refusal a player's own read-only
// store gives; run as another user, the file modes alone do it.
TEST(StoreFile, AReadOnlyStoreAnswersReadsAndRefusesWrites) {
    TempStore store;
    const RawValue score{REG_DWORD, {5, 0, 0, 0}};
    ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, kKey, "HighScore", score));
    const std::vector<std::uint8_t> before = FileBytes(store.Path());
    fs::permissions(store.Path(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(store.Directory(), fs::perms::owner_read | fs::perms::owner_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
    ChildProcess child([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 90;
        }
        clsRegistry registry;
        registry.ClassKey(static_cast<std::int32_t>(HKEY_LOCAL_MACHINE));
        registry.SectionKey(kKey);
        registry.ValueKey("HighScore");
        const bool reads = registry.CreateKey() && registry.Value() == Variant{std::int32_t{5}};
        try {
            registry.Value(std::int32_t{9});
        } catch (const RegistryError&) {
            return reads ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_EQ(FileBytes(store.Path()), before);
}
