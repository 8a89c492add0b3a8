#pragma once

#include "game/HighScoreStore.h"

#include <QString>
#include <QTimer>

#include <chrono>
#include <optional>

// The best score and its holder, kept under HKEY_LOCAL_MACHINE in
// "Software\Korvell\Qelm\Varnoth" as "HighScoreWho" (REG_SZ) and "HighScore" (REG_DWORD). Each
// call works on a clsRegistry of its own and lets no error out: a failed load shows as a score
// of -1, a failed save is silent. Several copies of the game may share the store: the record is
// read and written whole, and a save never lowers a record another copy saved meanwhile. No
// call waits long for a store another copy holds: a save it can't make at once is kept and made
// from the event loop as soon as the store is free, and at the latest by FinishSaving.
class RegistryHighScore : public HighScoreStore {
public:
    static constexpr std::chrono::milliseconds kLastWait{3000};

    RegistryHighScore();
    // Finishes a kept save.
    ~RegistryHighScore() override;
    RegistryHighScore(const RegistryHighScore&) = delete;
    RegistryHighScore& operator=(const RegistryHighScore&) = delete;

    // "Unknown" and 1000 when nothing is stored.
    void LoadHighScore(QString& sWho, double& dBest) override;
    // Writes the name, then the score rounded to a Long, unless the stored score is as high
    // already. A score beyond a Long's range is not stored, but the name is.
    void SaveHighScore(QString& sWho, double& dBest) override;

    // Makes a kept save, waiting at most wait for the store, and says on standard error when
    // it still can't. For the end of the program, where nothing would retry it.
    void FinishSaving(std::chrono::milliseconds wait = kLastWait);

private:
    struct Record {
        QString who;
        double best = 0;
    };

    // False when another copy held the store for longer than wait.
    static bool Write(const Record& record, std::chrono::milliseconds wait);
    void Keep(const std::optional<Record>& record);

    std::optional<Record> kept_;
    QTimer retry_;
};
