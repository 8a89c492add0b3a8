#include "registry/StoreCreation.h"

#include "registry/SqliteDatabase.h"
#include "registry/SqliteTransaction.h"
#include "registry/StoreFailure.h"
#include "registry/StoreSchema.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string_view>
#include <vector>

namespace reg {

namespace {

// The XDG rules ask for private directories where a program makes them.
constexpr mode_t kDirectoryMode = 0700;

void MakeDirectories(const std::filesystem::path& directory) {
    if (directory.empty()) {
        return;
    }
    std::filesystem::path partial;
    for (const auto& part : directory) {
        partial /= part;
        if (mkdir(partial.c_str(), kDirectoryMode) == 0) {
            continue;
        }
        const int error = errno;
        struct stat status {};
        if (stat(partial.c_str(), &status) != 0) {
            throw StoreFailure::FromErrno(error);
        }
        if (!S_ISDIR(status.st_mode)) {
            throw StoreFailure(ERROR_PATH_NOT_FOUND);
        }
    }
}

// Removes the temporary file however Create ends; after the link it is only a second name.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& path) {
        std::vector<char> name(path.begin(), path.end());
        for (const char c : std::string_view(".new-XXXXXX")) {
            name.push_back(c);
        }
        name.push_back('\0');
        const int fd = mkstemp(name.data());
        if (fd < 0) {
            throw StoreFailure::FromErrno(errno);
        }
        close(fd);
        path_ = name.data();
    }
    ~TemporaryFile() { unlink(path_.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

void SyncDirectory(const std::filesystem::path& directory) {
    const int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

void StoreCreation::Create(const std::string& path) {
    const std::filesystem::path directory = std::filesystem::path(path).parent_path();
    MakeDirectories(directory);
    const TemporaryFile temporary(path);
    {
        SqliteDatabase db(temporary.Path(), SQLITE_OPEN_READWRITE);
        db.Execute("PRAGMA synchronous = FULL");
        SqliteTransaction transaction(db, SqliteTransaction::Kind::Write);
        StoreSchema::Create(db);
        transaction.Commit();
    }
    // link, unlike rename, never replaces: a store another copy made meanwhile is kept.
    if (link(temporary.Path().c_str(), path.c_str()) != 0 && errno != EEXIST) {
        throw StoreFailure::FromErrno(errno);
    }
    SyncDirectory(directory);
}

} // namespace reg
