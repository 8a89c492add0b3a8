#pragma once

#include "game/HighScoreStore.h"

#include <QString>

// The best score kept in memory instead of the registry, starting as a fresh store does.
class MemoryHighScores : public HighScoreStore {
public:
    QString who = QStringLiteral("Unknown");
    double best = 1000;

    void LoadHighScore(QString& sWho, double& dBest) override {
        sWho = who;
        dBest = best;
    }
    void SaveHighScore(QString& sWho, double& dBest) override {
        who = sWho;
        best = dBest;
    }
};
