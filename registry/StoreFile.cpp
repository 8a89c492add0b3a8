#include "registry/StoreFile.h"

#include "registry/KeyStore.h"
#include "registry/SqliteDatabase.h"
#include "registry/SqliteStatement.h"
#include "registry/SqliteTransaction.h"
#include "registry/StoreCreation.h"
#include "registry/StoreFailure.h"
#include "registry/StoreSchema.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace reg {

namespace {

// How long a call waits for another copy of the game that is writing the same store.
constexpr int kBusyTimeoutMs = 5000;

bool FileExists(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        // A path through a plain file can't hold a store either: that store is missing too.
        if (errno == ENOENT || errno == ENOTDIR) {
            return false;
        }
        throw StoreFailure::FromErrno(errno);
    }
    // A directory, a pipe or a device is not a store; opening a pipe would even hang.
    if (!S_ISREG(status.st_mode)) {
        throw StoreFailure(ERROR_BADDB);
    }
    return true;
}

bool Writable(const std::string& path) {
    return access(path.c_str(), W_OK) == 0;
}

std::string Directory(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

SqliteDatabase OpenFile(const std::string& path, SqliteTransaction::Kind kind) {
    // The rollback journal is made beside the file, so a write needs the directory as well.
    if (kind == SqliteTransaction::Kind::Write && !(Writable(path) && Writable(Directory(path)))) {
        throw StoreFailure(ERROR_ACCESS_DENIED);
    }
    // A reader opens read-write when it may: a copy of the game killed in mid-write leaves a
    // journal that the next connection has to play back before it can read. A file that is not
    // ours is never written by that, as SQLite only plays back its own journal.
    const int mode = Writable(path) ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    SqliteDatabase db(path, mode);
    sqlite3_busy_timeout(db.Handle(), kBusyTimeoutMs);
    // The store runs with SQLite's rollback journal (journal_mode DELETE, the default) and
    // synchronous FULL: the old pages go to the journal and reach the disk before the file is
    // touched, so a kill, a crash or a full disk at any moment leaves the old store or the new
    // one. WAL would do the same but makes every reader write a shared-memory file beside the
    // store, which a read-only store can't have. A reader leaves the setting alone: it writes
    // nothing but the playback of a journal, which syncs unless syncing is off, and setting
    // it would cost a round of locks and reads of its own on every call.
    if (kind == SqliteTransaction::Kind::Write) {
        db.Execute("PRAGMA synchronous = FULL");
    }
    return db;
}

std::int64_t Integer(SqliteDatabase& db, const char* sql) {
    SqliteStatement statement(db.Handle(), sql);
    return statement.Step() ? statement.Integer(0) : 0;
}

// Called inside the transaction, so the file can't change under the checks.
void CheckIsStore(SqliteDatabase& db, const std::string& path) {
    if (!StoreSchema::Recognises(db)) {
        throw StoreFailure(ERROR_BADDB);
    }
    // SQLite itself refuses a file that lost whole pages, but one cut inside its last page it
    // would read on with the missing end as zeros.
    const std::int64_t pageSize = Integer(db, "PRAGMA page_size");
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        throw StoreFailure::FromErrno(errno);
    }
    if (pageSize <= 0 || status.st_size % pageSize != 0) {
        throw StoreFailure(ERROR_BADDB);
    }
}

SqliteDatabase OpenNewStore() {
    SqliteDatabase db(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY);
    StoreSchema::Create(db);
    return db;
}

LSTATUS RunOnFile(const std::string& path, SqliteTransaction::Kind kind,
                  const StoreFile::Work& work) {
    SqliteDatabase db = OpenFile(path, kind);
    SqliteTransaction transaction(db, kind);
    CheckIsStore(db, path);
    KeyStore store(db);
    const LSTATUS status = work(store);
    if (status == ERROR_SUCCESS) {
        transaction.Commit();
    }
    return status;
}

LSTATUS Guarded(const std::function<LSTATUS()>& call) {
    try {
        return call();
    } catch (const StoreFailure& failure) {
        return failure.Status();
    }
}

} // namespace

LSTATUS StoreFile::Read(const std::string& path, const Work& work) {
    return Guarded([&] {
        if (FileExists(path)) {
            return RunOnFile(path, SqliteTransaction::Kind::Read, work);
        }
        SqliteDatabase db = OpenNewStore();
        KeyStore store(db);
        return work(store);
    });
}

LSTATUS StoreFile::Write(const std::string& path, const Work& work) {
    return Guarded([&] {
        if (!FileExists(path)) {
            // Try the write on a new store in memory first: a call that fails, or changes
            // nothing, must not leave a file behind. The permanent keys have the same ids in
            // memory and on disk, so the work gives the same result on both.
            SqliteDatabase db = OpenNewStore();
            const int changesBefore = sqlite3_total_changes(db.Handle());
            KeyStore store(db);
            const LSTATUS status = work(store);
            if (status != ERROR_SUCCESS || sqlite3_total_changes(db.Handle()) == changesBefore) {
                return status;
            }
            StoreCreation::Create(path);
        }
        return RunOnFile(path, SqliteTransaction::Kind::Write, work);
    });
}

} // namespace reg
