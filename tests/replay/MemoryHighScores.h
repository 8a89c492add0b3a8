#pragma once

#include "game/HighScoreStore.h"

#include <QString>

// A high-score store in memory, empty at first: what a fresh registry gives, without a file.
class MemoryHighScores : public HighScoreStore {
public:
    void LoadHighScore(QString& sWho, double& dBest) override {
        sWho = who_;
        dBest = best_;
    }
    void SaveHighScore(QString& sWho, double& dBest) override {
        who_ = sWho;
        best_ = dBest;
    }

private:
    QString who_ = QStringLiteral("Unknown");
    double best_ = 1000;
};
