#include "replay/RecordVariables.h"

namespace {

// One list for the const and the mutable record alike.
template <typename Record, typename Entry> std::vector<Entry> list(Record& m) {
    return {{"lGameState", &m.lGameState},
            {"dScore", &m.dScore},
            {"dHighScore", &m.dHighScore},
            {"sHighScoreWho", &m.sHighScoreWho},
            {"lLastHitPoints", &m.lLastHitPoints},
            {"lMessageTicks", &m.lMessageTicks},
            {"lExtraPoints", &m.lExtraPoints},
            {"lStage", &m.lStage},
            {"lHits", &m.lHits},
            {"lTargets", &m.lTargets},
            {"lLives", &m.lLives},
            {"sTypedKeys", &m.sTypedKeys},
            {"lTargetStyle", &m.lTargetStyle},
            {"lTargetStep", &m.lTargetStep},
            {"sngSpeed", &m.sngSpeed},
            {"lTargetPos", &m.lTargetPos},
            {"lShotPoints", &m.lShotPoints},
            {"lBeamStep", &m.lBeamStep},
            {"lBeamLength", &m.lBeamLength},
            {"lBeamLines", &m.lBeamLines},
            {"lBeamColor", &m.lBeamColor},
            {"lBeamWidth", &m.lBeamWidth},
            {"bBeamAtTarget", &m.bBeamAtTarget}};
}

} // namespace

std::vector<std::pair<std::string_view, RecordVariables::Variable>>
RecordVariables::of(GameRecord& m) {
    return list<GameRecord, std::pair<std::string_view, Variable>>(m);
}

std::vector<std::pair<std::string_view, RecordVariables::ConstVariable>>
RecordVariables::of(const GameRecord& m) {
    return list<const GameRecord, std::pair<std::string_view, ConstVariable>>(m);
}
