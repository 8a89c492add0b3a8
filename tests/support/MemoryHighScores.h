#pragma once

#include "game/HighScoreStore.h"

#include <QString>
#include <utility>
#include <vector>

// The best score kept in memory instead of the registry, starting as a fresh store does;
// it remembers every save made to it.
class MemoryHighScores : public HighScoreStore {
public:
    QString who = QStringLiteral("Unknown");
    double best = 1000;
    std::vector<std::pair<QString, double>> saved;

    void LoadHighScore(QString& sWho, double& dBest) override {
        sWho = who;
        dBest = best;
    }
    void SaveHighScore(QString& sWho, double& dBest) override {
        saved.emplace_back(sWho, dBest);
        who = sWho;
        best = dBest;
    }
};
