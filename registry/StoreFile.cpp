#include "registry/StoreFile.h"

#include "registry/SqliteDatabase.h"
#include "registry/SqliteError.h"
#include "registry/SqliteStatement.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The XDG rules ask for private directories where a program makes them.
constexpr mode_t kDirectoryMode = 0700;
// What a commit's disk syncs may take on a busy machine: a write stops waiting for another copy
// of the game this long before its deadline, so that the commit still ends by it.
constexpr std::chrono::milliseconds kCommitTime{40};
// Enough for any honest chain of links; more is a loop.
constexpr int kMostLinks = 40;
// Where a new store is built before it is linked into place, beside it: PATH.new-XXXXXX.
constexpr const char* kTemporarySuffix = ".new-";

// "VNRG" in the header's application-id field (1447973447); user_version is the layout.
// Names are kept as written and found by "fold", their ASCII upper-case form, so "Software" and
// "SOFTWARE" are one key that keeps the spelling it was made with. Values keep their rowid when
// overwritten, which keeps their place in the listing. Keys 1 to 6 are there from the start:
// the roots, and HKEY_LOCAL_MACHINE\SOFTWARE\Classes, which HKEY_CLASSES_ROOT stands for.
constexpr const char* kLayout = R"sql(
PRAGMA application_id = 1447973447;
PRAGMA user_version = 1;
CREATE TABLE keys (id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER, name BLOB NOT NULL,
                   fold BLOB NOT NULL);
CREATE UNIQUE INDEX keys_by_name ON keys (parent, fold);
CREATE TABLE vals (key INTEGER NOT NULL, name BLOB NOT NULL, fold BLOB NOT NULL,
                   type INTEGER NOT NULL, data BLOB NOT NULL);
CREATE UNIQUE INDEX vals_by_name ON vals (key, fold);
INSERT INTO keys (id, parent, name, fold) VALUES (1, NULL, 'HKEY_CURRENT_USER', ''),
    (2, NULL, 'HKEY_LOCAL_MACHINE', ''), (3, NULL, 'HKEY_USERS', ''),
    (4, NULL, 'HKEY_CURRENT_CONFIG', ''), (5, 2, CAST('SOFTWARE' AS BLOB), CAST('SOFTWARE' AS BLOB)),
    (6, 5, CAST('Classes' AS BLOB), CAST('CLASSES' AS BLOB));
)sql";
constexpr std::int64_t kApplicationId = 1447973447;
constexpr std::int64_t kLayoutVersion = 1;

[[noreturn]] void failErrno(const std::string& what) {
    throw SqliteError(SQLITE_CANTOPEN, what + ": " + std::strerror(errno));
}

[[noreturn]] void notAStore(const std::string& path) {
    throw SqliteError(SQLITE_NOTADB, path + " is not a Varnoth store");
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string dataHome() {
    // The XDG rules say to ignore a relative XDG_DATA_HOME.
    if (const std::string dataHome = environment("XDG_DATA_HOME"); dataHome.starts_with('/'))
        return dataHome;
    std::string home = environment("HOME");
    if (const passwd* entry = getpwuid(getuid()); home.empty() && entry && entry->pw_dir)
        home = entry->pw_dir;
    if (home.empty())
        throw SqliteError(SQLITE_CANTOPEN, "no home directory for the store");
    return home + "/.local/share";
}

// Whether a store is there. A path through a plain file can't hold one: that store is missing.
// A directory, a pipe or a device is not a store; opening a pipe would even hang.
bool exists(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        failErrno(path);
    }
    if (!S_ISREG(status.st_mode))
        notAStore(path);
    // SQLite finds its journal by the name it was opened with, so a save through one name and a
    // kill can leave the journal where a copy of the game opening the other name never looks.
    if (status.st_nlink > 1) {
        throw SqliteError(SQLITE_CANTOPEN,
                          path + " has more than one hard link, through which saves get lost");
    }
    return true;
}

std::string directoryOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

void makeDirectories(const std::string& directory) {
    fs::path partial;
    for (const fs::path& part : fs::path(directory)) {
        partial /= part;
        struct stat status {};
        if (mkdir(partial.c_str(), kDirectoryMode) != 0 &&
            (stat(partial.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))) {
            failErrno(partial.string());
        }
    }
}

// An open file descriptor, closed when it goes out of scope.
struct Descriptor {
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0)
            close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd = -1;
};

// Only called by the holder of the directory's lock, so no copy of the game is making a store
// there: any temporary store file, or its journal, was left by one that failed or was killed
// while doing so.
void removeLeftovers(const std::string& path) {
    const std::string prefix = fs::path(path).filename().string() + kTemporarySuffix;
    std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(directoryOf(path).c_str()), closedir);
    while (const dirent* entry = directory ? readdir(directory.get()) : nullptr) {
        if (std::string_view(entry->d_name).starts_with(prefix))
            unlink((directoryOf(path) + "/" + entry->d_name).c_str());
    }
}

// The file is built under a temporary name and linked into place only once complete, so no one
// ever sees a half-made store; link, unlike rename, never replaces, so of two copies of the
// game making it at once one simply wins and the other uses its store.
void create(const std::string& path) {
    std::string temporary = path + kTemporarySuffix + "XXXXXX";
    if (const Descriptor file(mkstemp(temporary.data())); file.fd < 0)
        failErrno(temporary);
    // A failure on the way leaves the temporary file to the next write's clearing.
    {
        SqliteDatabase db(temporary, SQLITE_OPEN_READWRITE);
        db.execute("PRAGMA synchronous = FULL");
        db.execute("BEGIN");
        db.execute(kLayout);
        db.execute("COMMIT");
    }
    if (link(temporary.c_str(), path.c_str()) != 0 && errno != EEXIST)
        failErrno(path);
    unlink(temporary.c_str());
    const Descriptor directory(open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY));
    fsync(directory.fd);
}

std::int64_t pragma(const SqliteDatabase& db, const char* sql) {
    SqliteStatement statement(db, sql);
    return statement.step() ? statement.integer(0) : 0;
}

// Every table, index, trigger and view with its SQL, as one text.
std::string schema(const SqliteDatabase& db) {
    std::string schema;
    SqliteStatement rows(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema ORDER BY name");
    while (rows.step()) {
        for (int column = 0; column < 4; ++column) {
            const std::string text = rows.text(column);
            schema += std::to_string(text.size()) + ':' + text;
        }
    }
    return schema;
}

// A new store in memory, with nothing in it yet but the keys every store has.
SqliteDatabase emptyStore() {
    SqliteDatabase db(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY);
    db.execute(kLayout);
    return db;
}

// Runs inside the transaction, so the file can't change under the checks, and reads the header
// first, so this is where the read lock is waited for. SQLite itself refuses a file that lost
// whole pages, but one cut inside its last page it would read on with the missing end as zeros.
// A trigger, a view or an index of someone else's could run their SQL in every call, or take
// forever over it: such a store is not ours either.
void checkIsStore(const SqliteDatabase& db, const std::string& path) {
    // The schema a store made by the game has: any other is someone else's, however it is marked.
    // Never destroyed: the last save, when Qt ends the program with exit(), runs in an exit
    // handler, after the statics made since that handler was registered are gone.
    static const std::string& knownSchema = *new std::string(schema(emptyStore()));
    struct stat status {};
    if (pragma(db, "PRAGMA application_id") != kApplicationId ||
        pragma(db, "PRAGMA user_version") != kLayoutVersion || stat(path.c_str(), &status) != 0 ||
        status.st_size % pragma(db, "PRAGMA page_size") != 0 || schema(db) != knownSchema) {
        notAStore(path);
    }
}

} // namespace

std::string StoreFile::path() {
    fs::path path = environment("VARNOTH_REGISTRY");
    if (path.empty())
        path = dataHome() + "/varnoth/registry.db";
    std::error_code error;
    for (int links = 0; fs::is_symlink(fs::symlink_status(path, error)); ++links) {
        const fs::path target = fs::read_symlink(path, error);
        if (error || links == kMostLinks)
            throw SqliteError(SQLITE_CANTOPEN, path.string() + ": a broken chain of links");
        path = path.parent_path() / target;
    }
    return path.string();
}

SqliteDatabase StoreFile::open(bool write, std::chrono::steady_clock::time_point deadline,
                               bool waitForStore) {
    const std::string path = StoreFile::path();
    const bool missing = !exists(path);
    const auto waitUntil = !waitForStore ? std::chrono::steady_clock::time_point::min()
                           : write       ? deadline - kCommitTime
                                         : deadline;
    if (write) {
        if (missing)
            makeDirectories(directoryOf(path));
        // Whoever makes a store or clears the leftovers of one holds the directory's lock. A
        // writer to a store that is there does not wait for it: the leftovers can wait too.
        const Descriptor directory(::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY));
        // A directory that can't be opened can't be locked either, nor searched for leftovers.
        bool locked = directory.fd < 0 || flock(directory.fd, LOCK_EX | LOCK_NB) == 0;
        while (!locked && missing && waitForStore && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            locked = flock(directory.fd, LOCK_EX | LOCK_NB) == 0;
        }
        if (locked) {
            removeLeftovers(path);
            if (!exists(path))
                create(path);
        } else if (missing) {
            throw SqliteError(SQLITE_BUSY, path + ": another copy of the game is making it");
        }
    } else if (missing) {
        SqliteDatabase db = emptyStore();
        db.execute("BEGIN");
        return db;
    }
    // The rollback journal is made beside the file, so changing it needs the directory too. A
    // reader opens read-write when it may: a copy of the game killed in mid-write leaves a
    // journal that the next connection has to play back before it can read. A file that is not
    // ours is never written by that, as SQLite only plays back its own journal.
    const bool writable =
        access(path.c_str(), W_OK) == 0 && access(directoryOf(path).c_str(), W_OK) == 0;
    SqliteDatabase db(path, writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    db.limit(deadline, waitUntil);
    // The rollback journal (journal_mode DELETE, SQLite's default) with synchronous FULL: the old
    // pages reach the disk in the journal before the file is touched, so a kill, a crash or a
    // full disk at any moment leaves the old store or the new one. WAL would make every reader
    // write a shared-memory file beside the store, which a read-only store can't have. A writer
    // takes the write lock at its start: two copies that both read first and then wanted to
    // write would each wait for the other.
    if (write && writable) {
        db.execute("PRAGMA synchronous = FULL");
        db.execute("BEGIN IMMEDIATE");
    } else {
        db.execute("BEGIN");
    }
    checkIsStore(db, path);
    return db;
}
