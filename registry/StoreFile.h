#pragma once

#include <chrono>
#include <string>

class SqliteDatabase;

// The file the store lives in: where it is, what it must look like, and a connection to it with
// one transaction begun. RegistryStore is its only user.
class StoreFile {
public:
    // $VARNOTH_REGISTRY when set, else varnoth/registry.db in the XDG data directory
    // ($XDG_DATA_HOME, or ~/.local/share). Read again at every call. A symbolic link is followed
    // to the file it names, which is made there if it does not exist yet.
    static std::string path();

    // A connection to the store with a transaction begun on it, its every statement and wait
    // limited by the deadline; without waitForStore it gives up at once when another copy of
    // the game holds the file. A read of a missing store gets a new,
    // empty store in memory; a write makes the file first. A write to a store the player may
    // not change gets a read-only connection, on which every change fails. Throws SqliteError,
    // as SQLITE_NOTADB for a file that is not a store or whose layout is not the game's, and as
    // SQLITE_CANTOPEN for a file with more than one hard link.
    static SqliteDatabase open(bool write, std::chrono::steady_clock::time_point deadline,
                               bool waitForStore);
};
