#pragma once

#include "game/HighScoreStore.h"
#include "registry/RegistryStore.h"

#include <QString>
#include <QTimer>

#include <chrono>
#include <optional>
#include <string>

// The best score and its holder, kept under HKEY_LOCAL_MACHINE in
// "Software\Korvell\Qelm\Varnoth" as "HighScoreWho" (REG_SZ) and "HighScore" (REG_DWORD). Each
// call works on a clsRegistry of its own and lets no error out: a failed load shows as a score
// of -1, and a save that is not made says why on standard error, once. Several copies of the
// game may share the store: the record is read and written whole, and a save never lowers a
// record another copy saved meanwhile.
//
// No call takes longer than callLimit, waits for another copy included. A save the store is too
// busy for is kept: it is the best score known until it is made (a load shows it, a lower save
// leaves it), tried again from the event loop without waiting for the store, and made at the
// latest by finishSaving.
class RegistryHighScore : public HighScoreStore {
public:
    static constexpr std::chrono::milliseconds kLastWait{3000};

    explicit RegistryHighScore(std::chrono::milliseconds callLimit = RegistryStore::kBusyWait);
    // Finishes a kept save.
    ~RegistryHighScore() override;
    RegistryHighScore(const RegistryHighScore&) = delete;
    RegistryHighScore& operator=(const RegistryHighScore&) = delete;

    // "Unknown" and 1000 when nothing is stored; a kept save when it is higher than the store's.
    void LoadHighScore(QString& sWho, double& dBest) override;
    // Writes the name, then the score rounded to a Long, unless the stored score is as high
    // already. A score beyond a Long's range is not stored, but the name is.
    void SaveHighScore(QString& sWho, double& dBest) override;

    // Makes a kept save, all of it within wait, and says on standard error when it still
    // can't. For the end of the program, where nothing would retry it.
    void finishSaving(std::chrono::milliseconds wait = kLastWait);

private:
    using Clock = RegistryStore::Clock;
    struct Record {
        QString who;
        double best = 0;
    };

    // Throws SqliteError when the save is not made; done, too, when the store's is as high.
    static void write(const Record& record, Clock::time_point deadline, bool waitForStore);
    // Reads the record in one transaction of the kind given; false when the key is missing
    // and the kind can't make it.
    static bool read(bool write, Clock::time_point deadline, QString& sWho, double& dBest);
    // Writes record, keeping it when the store is busy, or else saying why it was not made.
    void trySave(const Record& record, Clock::time_point deadline, bool waitForStore);
    static void report(const Record& record, const std::string& why);
    void keep(const std::optional<Record>& record);

    std::chrono::milliseconds callLimit_;
    std::optional<Record> kept_;
    QTimer retry_;
};
