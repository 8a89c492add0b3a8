#pragma once

class QString;

// Where frmVarnoth keeps its best score between games. modMain provides the real store over
// the registry; tests hand in their own. Both procedures take their arguments by reference,
// as the game passes sHighScoreWho and dHighScore straight in.
class HighScoreStore {
public:
    virtual ~HighScoreStore() = default;
    virtual void LoadHighScore(QString& sWho, double& dBest) = 0;
    virtual void SaveHighScore(QString& sWho, double& dBest) = 0;
};
