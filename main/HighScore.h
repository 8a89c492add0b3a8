#pragma once

#include "game/HighScoreStore.h"

class QString;

// The best score and its holder, kept under HKEY_LOCAL_MACHINE in
// "Software\Korvell\Qelm\Varnoth" as "HighScoreWho" (REG_SZ) and "HighScore" (REG_DWORD). Each
// call works on a clsRegistry of its own and lets no error out: a failed load shows as a score
// of -1, a failed save is silent.
class RegistryHighScore : public HighScoreStore {
public:
    // "Unknown" and 1000 when nothing is stored.
    void LoadHighScore(QString& sWho, double& dBest) override;
    // Writes the name first, then the score rounded to a Long; a score beyond a Long's range is
    // not stored, but the name is.
    void SaveHighScore(QString& sWho, double& dBest) override;
};
