#include "ChildProcess.h"
#include "TempStore.h"

#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"
#include "registry/StoreFile.h"
#include "registry/clsRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

using namespace reg;
namespace fs = std::filesystem;

namespace {

constexpr auto kKey = "Software\\Korvell";
const RawValue kText = textValue("x");

// Changes one byte of the header as another program might.
void poke(const std::string& path, int at) {
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(at) << '\7';
}

ByteArray bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return fs::is_directory(path) ? ByteArray() : ByteArray(std::istreambuf_iterator(file), {});
}

} // namespace

// Each case spoils a store of a good number of pages. A store marked as the game's but laid out
// otherwise is someone else's: its trigger would rewrite every save, its view would run its own
// query at every read. A second hard link would let saves through one name lose their journal.
TEST(StoreFile, AFileThatIsNotAStoreFailsEveryCallAndIsNeverWritten) {
    const std::function<void(const std::string&)> cases[] = {
        [](const std::string& p) { std::ofstream(p) << std::string(5000, 'Z'); },
        [](const std::string& p) { fs::resize_file(p, 0); },
        [](const std::string& p) { fs::resize_file(p, fs::file_size(p) - 9); }, // in a page
        [](const std::string& p) { fs::remove(p), fs::create_directory(p); },
        [](const std::string& p) { poke(p, 71); }, // the game's mark
        [](const std::string& p) { poke(p, 63); }, // the layout's number
        [](const std::string& p) {
            runSql(p,
                   "CREATE TRIGGER t AFTER INSERT ON vals BEGIN UPDATE vals SET data = x'39'; END");
        },
        [](const std::string& p) {
            runSql(p, "ALTER TABLE vals RENAME TO v; CREATE VIEW vals AS WITH RECURSIVE n(i) AS "
                      "(SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT * FROM v, n");
        },
        [](const std::string& p) { runSql(p, "ALTER TABLE keys ADD COLUMN extra"); },
        [](const std::string& p) { fs::create_hard_link(p, p + "-twin"); },
    };
    for (const auto& spoil : cases) {
        TempStore store;
        for (int i = 0; i < 40; ++i) {
            putValue(HKEY_LOCAL_MACHINE, kKey + std::to_string(i), "",
                     {REG_BINARY, ByteArray(2000)});
        }
        spoil(store.path);
        const ByteArray before = bytes(store.path);
        EXPECT_THROW(RegistryStore(RegistryStore::Kind::Read), SqliteError);
        EXPECT_THROW(putValue(HKEY_CURRENT_USER, "", "V", kText), SqliteError);
        EXPECT_EQ(bytes(store.path), before);
    }
}

// Reads of a missing store see the keys every store has and make nothing; the first write makes
// the store, private to the player, where a link points, and clears what a killed maker left.
TEST(StoreFile, OnlyAWriteMakesAPrivateStore) {
    TempStore store;
    store.pointAt(store.dir + "/link.db");
    fs::create_symlink("deep/er/store.db", store.path);
    clsRegistry registry;
    registry.ClassKey(static_cast<std::int32_t>(HKEY_CLASSES_ROOT));
    EXPECT_TRUE(registry.KeyExists());
    EXPECT_FALSE(fs::exists(store.dir + "/deep"));
    putValue(HKEY_LOCAL_MACHINE, kKey, "V", kText);
    EXPECT_EQ(fs::status(store.dir + "/deep").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(store.path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    const std::string left = store.dir + "/deep/er/store.db.new-AbCdEf";
    std::ofstream{left};
    std::ofstream{left + "-journal"};
    putValue(HKEY_LOCAL_MACHINE, kKey, "V", kText);
    EXPECT_EQ(std::distance(fs::directory_iterator(store.dir + "/deep/er"), {}), 1);
}

// Where the store lies: where VARNOTH_REGISTRY says, else in the player's data home, which a
// relative XDG_DATA_HOME does not name; a loop of links leads nowhere.
TEST(StoreFile, LiesInThePlayersDataHome) {
    TempStore store;
    fs::create_symlink("store.db", store.path);
    EXPECT_THROW(StoreFile::path(), SqliteError);
    unsetenv("VARNOTH_REGISTRY");
    setenv("HOME", "/home/ann", 1);
    for (const auto& [data, path] : {std::pair{"/data", "/data/varnoth/registry.db"},
                                     {"data", "/home/ann/.local/share/varnoth/registry.db"}}) {
        setenv("XDG_DATA_HOME", data, 1);
        EXPECT_EQ(StoreFile::path(), path);
    }
}

// Root passes every permission check, so the child gives up root for "nobody" to meet the
// refusal a player's own read-only store gives: it opens for a write, reads, and changes nothing.
TEST(StoreFile, AReadOnlyStoreAnswersReadsAndRefusesWrites) {
    TempStore store;
    putValue(HKEY_LOCAL_MACHINE, kKey, "V", kText);
    const ByteArray before = bytes(store.path);
    fs::permissions(store.path, fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(store.dir, fs::perms::owner_read | fs::perms::owner_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
    ChildProcess child([&] {
        const bool nobody = geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
        RegistryStore store(RegistryStore::Kind::Write);
        const bool read = store.getValue(store.createKey(HKEY_LOCAL_MACHINE, kKey), "v") == kText;
        try {
            store.setValue(*store.findKey(HKEY_LOCAL_MACHINE, kKey), "V", 1, {});
        } catch (const SqliteError&) {
            return nobody && read ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(child.wait(), 0);
    EXPECT_EQ(bytes(store.path), before);
}
