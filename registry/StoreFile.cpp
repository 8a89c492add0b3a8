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

[[noreturn]] void FailErrno(const std::string& what) {
    throw SqliteError(SQLITE_CANTOPEN, what + ": " + std::strerror(errno));
}

[[noreturn]] void NotAStore(const std::string& path) {
    throw SqliteError(SQLITE_NOTADB, path + " is not a Varnoth store");
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string DataHome() {
    // The XDG rules say to ignore a relative XDG_DATA_HOME.
    if (const std::string dataHome = Environment("XDG_DATA_HOME"); dataHome.starts_with('/'))
        return dataHome;
    std::string home = Environment("HOME");
    if (const passwd* entry = getpwuid(getuid()); home.empty() && entry && entry->pw_dir)
        home = entry->pw_dir;
    if (home.empty())
        throw SqliteError(SQLITE_CANTOPEN, "no home directory for the store");
    return home + "/.local/share";
}

// Whether a store is there. A path through a plain file can't hold one: that store is missing.
// A directory, a pipe or a device is not a store; opening a pipe would even hang.
bool Exists(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        FailErrno(path);
    }
    if (!S_ISREG(status.st_mode))
        NotAStore(path);
    return true;
}

std::string Directory(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

void MakeDirectories(const std::string& directory) {
    fs::path partial;
    for (const fs::path& part : fs::path(directory)) {
        partial /= part;
        struct stat status {};
        if (mkdir(partial.c_str(), kDirectoryMode) != 0 &&
            (stat(partial.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))) {
            FailErrno(partial.string());
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
void RemoveLeftovers(const std::string& path) {
    const std::string prefix = fs::path(path).filename().string() + kTemporarySuffix;
    std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(Directory(path).c_str()), closedir);
    while (const dirent* entry = directory ? readdir(directory.get()) : nullptr) {
        if (std::string_view(entry->d_name).starts_with(prefix))
            unlink((Directory(path) + "/" + entry->d_name).c_str());
    }
}

// The file is built under a temporary name and linked into place only once complete, so no one
// ever sees a half-made store; link, unlike rename, never replaces, so of two copies of the
// game making it at once one simply wins and the other uses its store.
void Create(const std::string& path) {
    std::string temporary = path + kTemporarySuffix + "XXXXXX";
    if (const Descriptor file(mkstemp(temporary.data())); file.fd < 0)
        FailErrno(temporary);
    // A failure on the way leaves the temporary file to the next write's clearing.
    {
        SqliteDatabase db(temporary, SQLITE_OPEN_READWRITE);
        db.Execute("PRAGMA synchronous = FULL");
        db.Execute("BEGIN");
        db.Execute(kLayout);
        db.Execute("COMMIT");
    }
    if (link(temporary.c_str(), path.c_str()) != 0 && errno != EEXIST)
        FailErrno(path);
    unlink(temporary.c_str());
    const Descriptor directory(open(Directory(path).c_str(), O_RDONLY | O_DIRECTORY));
    fsync(directory.fd);
}

std::int64_t Pragma(const SqliteDatabase& db, const char* sql) {
    SqliteStatement statement(db, sql);
    return statement.Step() ? statement.Integer(0) : 0;
}

// Runs inside the transaction, so the file can't change under the checks, and reads the header
// first, so this is where the read lock is waited for. SQLite itself refuses a file that lost
// whole pages, but one cut inside its last page it would read on with the missing end as zeros.
void CheckIsStore(const SqliteDatabase& db, const std::string& path) {
    struct stat status {};
    if (Pragma(db, "PRAGMA application_id") != kApplicationId ||
        Pragma(db, "PRAGMA user_version") != kLayoutVersion || stat(path.c_str(), &status) != 0 ||
        status.st_size % Pragma(db, "PRAGMA page_size") != 0) {
        NotAStore(path);
    }
}

} // namespace

std::string StoreFile::Path() {
    fs::path path = Environment("VARNOTH_REGISTRY");
    if (path.empty())
        path = DataHome() + "/varnoth/registry.db";
    std::error_code error;
    for (int links = 0; fs::is_symlink(fs::symlink_status(path, error)); ++links) {
        const fs::path target = fs::read_symlink(path, error);
        if (error || links == kMostLinks)
            throw SqliteError(SQLITE_CANTOPEN, path.string() + ": a broken chain of links");
        path = path.parent_path() / target;
    }
    return path.string();
}

SqliteDatabase StoreFile::Open(bool write, std::chrono::milliseconds busyWait) {
    const std::string path = Path();
    const bool missing = !Exists(path);
    if (write) {
        if (missing)
            MakeDirectories(Directory(path));
        // Whoever makes a store or clears the leftovers of one holds the directory's lock. A
        // writer to a store that is there does not wait for it: the leftovers can wait too.
        const Descriptor directory(open(Directory(path).c_str(), O_RDONLY | O_DIRECTORY));
        const auto giveUp = std::chrono::steady_clock::now() + busyWait;
        // A directory that can't be opened can't be locked either, nor searched for leftovers.
        bool locked = directory.fd < 0 || flock(directory.fd, LOCK_EX | LOCK_NB) == 0;
        while (!locked && missing && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            locked = flock(directory.fd, LOCK_EX | LOCK_NB) == 0;
        }
        if (locked) {
            RemoveLeftovers(path);
            if (!Exists(path))
                Create(path);
        } else if (missing) {
            throw SqliteError(SQLITE_BUSY, path + ": another copy of the game is making it");
        }
    } else if (missing) {
        SqliteDatabase db(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY);
        db.Execute(kLayout);
        db.Execute("BEGIN");
        return db;
    }
    // The rollback journal is made beside the file, so changing it needs the directory too. A
    // reader opens read-write when it may: a copy of the game killed in mid-write leaves a
    // journal that the next connection has to play back before it can read. A file that is not
    // ours is never written by that, as SQLite only plays back its own journal.
    const bool writable =
        access(path.c_str(), W_OK) == 0 && access(Directory(path).c_str(), W_OK) == 0;
    SqliteDatabase db(path, writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    sqlite3_busy_timeout(db.Handle(), static_cast<int>(busyWait.count()));
    // The rollback journal (journal_mode DELETE, SQLite's default) with synchronous FULL: the old
    // pages reach the disk in the journal before the file is touched, so a kill, a crash or a
    // full disk at any moment leaves the old store or the new one. WAL would make every reader
    // write a shared-memory file beside the store, which a read-only store can't have. A writer
    // takes the write lock at its start: two copies that both read first and then wanted to
    // write would each wait for the other.
    if (write && writable) {
        db.Execute("PRAGMA synchronous = FULL");
        db.Execute("BEGIN IMMEDIATE");
    } else {
        db.Execute("BEGIN");
    }
    CheckIsStore(db, path);
    return db;
}
