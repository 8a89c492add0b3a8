#include "ChildProcess.h"
#include "StoreProbe.h"
#include "TempStore.h"

#include "registry/KeyHandle.h"
#include "registry/RegistryApi.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
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
void FillStore(const std::string& path) {
    TempStore other;
    other.PointAt(path);
    for (int i = 0; i < 40; ++i) {
        const std::string key = std::string(kKey) + "\\K" + std::to_string(i);
        PutValue(HKEY_LOCAL_MACHINE, key.c_str(), "Data",
                 {REG_BINARY, std::vector<std::uint8_t>(2000, 7)});
    }
}

// What a failed call must leave: the file's bytes, or a directory's entries.
std::vector<std::uint8_t> Snapshot(const std::string& path) {
    if (fs::is_directory(path)) {
        return std::vector<std::uint8_t>(
            fs::directory_iterator(path) == fs::directory_iterator() ? 0 : 1);
    }
    return FileBytes(path);
}

std::vector<LSTATUS> EveryKindOfCall() {
    HKEY opened = 0;
    DWORD size = 0;
    DWORD count = 0;
    char name[64] = {};
    std::vector<LSTATUS> results = {
        RegOpenKeyEx(HKEY_LOCAL_MACHINE, "", KEY_ALL_ACCESS, &opened),
        RegOpenKeyEx(HKEY_LOCAL_MACHINE, kKey, KEY_ALL_ACCESS, &opened),
        RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\New", KEY_ALL_ACCESS, &opened, nullptr),
        RegSetValueEx(HKEY_CURRENT_USER, "V", REG_SZ, Sz("x").data(), 2),
        RegQueryValueEx(HKEY_CURRENT_USER, "V", nullptr, nullptr, &size),
        RegDeleteKey(HKEY_LOCAL_MACHINE, kKey),
        RegDeleteValue(HKEY_CURRENT_USER, "V"),
        RegEnumKey(HKEY_LOCAL_MACHINE, 0, name, sizeof name),
        RegQueryInfoKey(HKEY_LOCAL_MACHINE, &count, nullptr, nullptr, nullptr, nullptr),
    };
    return results;
}

} // namespace

TEST(StoreFaults, AFileThatIsNotAStoreFailsEveryCallAndIsNeverWritten) {
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> cases = {
        {"garbage", [](const std::string& p) { std::ofstream(p) << std::string(5000, 'Z'); }},
        {"empty file", [](const std::string& p) { std::ofstream{p}; }},
        {"cut inside its last page",
         [](const std::string& p) {
             FillStore(p);
             fs::resize_file(p, fs::file_size(p) - 100);
         }},
        {"cut at a page",
         [](const std::string& p) {
             FillStore(p);
             fs::resize_file(p, 4096 * 3);
         }},
        {"a directory", [](const std::string& p) { fs::create_directory(p); }},
        {"another program's database",
         [](const std::string& p) {
             RunSql(p, "CREATE TABLE players(name TEXT); INSERT INTO players VALUES('x');");
         }},
        {"a store of a later version",
         [](const std::string& p) {
             FillStore(p);
             RunSql(p, "PRAGMA user_version = 2;");
         }},
    };
    for (const auto& [what, make] : cases) {
        TempStore store;
        make(store.Path());
        const std::vector<std::uint8_t> before = Snapshot(store.Path());
        EXPECT_EQ(EveryKindOfCall(), std::vector<LSTATUS>(9, ERROR_BADDB)) << what;
        EXPECT_EQ(Snapshot(store.Path()), before) << what;
    }
}

TEST(StoreFaults, AMissingStoreReadsAsNewAndOnlyAWriteMakesIt) {
    struct Case {
        const char* what;
        std::string below;
        LSTATUS write;
    };
    const std::vector<Case> cases = {
        {"missing directories", "deep/er", ERROR_SUCCESS},
        {"below a plain file", "plain", ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        TempStore store;
        std::ofstream(store.Directory() + "/plain") << "not a directory";
        store.PointAt(store.Directory() + "/" + c.below + "/store.db");
        HKEY opened = 0;
        DWORD disposition = 0;
        DWORD count = 9;
        EXPECT_EQ(RegOpenKeyEx(HKEY_CLASSES_ROOT, "", KEY_ALL_ACCESS, &opened), ERROR_SUCCESS);
        EXPECT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, kKey, KEY_ALL_ACCESS, &opened),
                  ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(
            RegCreateKeyEx(HKEY_LOCAL_MACHINE, "software", KEY_ALL_ACCESS, &opened, &disposition),
            0);
        EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
        EXPECT_EQ(RegQueryInfoKey(HKEY_CURRENT_USER, &count, nullptr, nullptr, nullptr, nullptr),
                  0);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Nope"), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(RegDeleteValue(HKEY_CURRENT_USER, "Nope"), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(fs::directory_iterator(store.Directory())->path().filename(), "plain") << c.what;
        EXPECT_EQ(FileBytes(store.Directory() + "/plain").size(), 15u);

        EXPECT_EQ(PutValue(HKEY_LOCAL_MACHINE, kKey, "V", {REG_SZ, Sz("x")}), c.write) << c.what;
        EXPECT_EQ(fs::exists(store.Path()), c.write == ERROR_SUCCESS) << c.what;
        EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kKey, "v").has_value(), c.write == ERROR_SUCCESS);
    }
}

// Root passes every permission check, so a read-only file would still be written. The child
// therefore gives up root for "nobody" and meets the same refusal a player's own read-only
// store gives; run as another user, the file modes alone do it.
TEST(StoreFaults, AReadOnlyStoreAnswersReadsAndRefusesWrites) {
    TempStore store;
    const RawValue score{REG_DWORD, {5, 0, 0, 0}};
    ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, kKey, "HighScore", score), 0);
    const std::vector<std::uint8_t> before = FileBytes(store.Path());
    fs::permissions(store.Path(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(store.Directory(), fs::perms::owner_read | fs::perms::owner_exec |
                                           fs::perms::others_read | fs::perms::others_exec);
    ChildProcess child([&] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 90;
        }
        KeyHandle key;
        DWORD disposition = 0;
        const bool readsWork =
            GetValue(HKEY_LOCAL_MACHINE, kKey, "HighScore") == score &&
            RegCreateKeyEx(HKEY_LOCAL_MACHINE, kKey, KEY_ALL_ACCESS, key.Out(), &disposition) == 0;
        const std::vector<LSTATUS> writes = {
            PutValue(HKEY_LOCAL_MACHINE, kKey, "HighScore", {REG_DWORD, {9, 0, 0, 0}}),
            PutValue(HKEY_LOCAL_MACHINE, "Software\\Other", "V", score),
            RegDeleteValue(key.Get(), "HighScore"),
            RegDeleteKey(HKEY_LOCAL_MACHINE, kKey),
        };
        return (readsWork ? 0 : 1) +
               (writes == std::vector<LSTATUS>(4, ERROR_ACCESS_DENIED) ? 0 : 2);
    });
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_EQ(FileBytes(store.Path()), before);
}

TEST(StoreFaults, AFullDiskInMidWriteLeavesTheOldValue) {
    const RawValue old{REG_BINARY, std::vector<std::uint8_t>(1000, 0x11)};
    for (const rlim_t headroom : {rlim_t{0}, rlim_t{4096}, rlim_t{64 * 1024}}) {
        TempStore store;
        ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, kKey, "Data", old), 0);
        const rlim_t limit = headroom == 0 ? 0 : fs::file_size(store.Path()) + headroom;
        ChildProcess child([&] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit fileSize{limit, limit};
            setrlimit(RLIMIT_FSIZE, &fileSize);
            const LSTATUS status =
                PutValue(HKEY_LOCAL_MACHINE, kKey, "Data",
                         {REG_BINARY, std::vector<std::uint8_t>(256 * 1024, 0xAB)});
            // Which of the two depends on where the limit struck; see StoreFailure.
            return status == ERROR_DISK_FULL || status == ERROR_REGISTRY_IO_FAILED ? 0 : 1;
        });
        EXPECT_EQ(child.Wait(), 0) << "limit " << limit;
        EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kKey, "Data"), old) << "limit " << limit;
        EXPECT_EQ(PutValue(HKEY_LOCAL_MACHINE, kKey, "After", old), ERROR_SUCCESS);
    }
}

TEST(StoreFaults, AKillInMidWriteLeavesEveryValueOldOrNewAndInOrder) {
    TempStore store;
    constexpr std::size_t kSize = 64 * 1024;
    const std::vector<const char*> names = {"A", "B", "C"};
    for (const char* name : names) {
        ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, kKey, name,
                           {REG_BINARY, std::vector<std::uint8_t>(kSize, 0)}),
                  0);
    }
    for (int round = 0; round < 4; ++round) {
        ChildProcess writer([&] {
            for (int i = 1;; ++i) {
                for (const char* name : names) {
                    const RawValue next{
                        REG_BINARY, std::vector<std::uint8_t>(kSize, static_cast<std::uint8_t>(i))};
                    if (PutValue(HKEY_LOCAL_MACHINE, kKey, name, next) != ERROR_SUCCESS) {
                        return 1;
                    }
                }
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(60 + 37 * round));
        writer.Kill();
        ASSERT_EQ(writer.Wait(), 128 + SIGKILL);
        std::vector<int> fills;
        for (const char* name : names) {
            const std::optional<RawValue> value = GetValue(HKEY_LOCAL_MACHINE, kKey, name);
            ASSERT_TRUE(value) << name;
            ASSERT_EQ(value->data.size(), kSize) << name;
            ASSERT_EQ(std::count(value->data.begin(), value->data.end(), value->data[0]), kSize)
                << name;
            fills.push_back(value->data[0]);
        }
        // The writes land one after another: A runs at most one fill ahead of B, B of C.
        const auto step = [](int later, int earlier) { return (later - earlier + 256) % 256 <= 1; };
        EXPECT_TRUE(step(fills[0], fills[1]) && step(fills[1], fills[2]) &&
                    step(fills[0], fills[2]))
            << fills[0] << " " << fills[1] << " " << fills[2];
    }
}
