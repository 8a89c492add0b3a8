#include "main/Game.h"

#include "replay/GameRecording.h"

Game::Game(const Artwork& artwork, Platform& platform, HighScoreStore& highScores,
           ScriptRecorder* recorder)
    : recording_(recorder ? std::optional<RecordingPlatform>(std::in_place, platform, *recorder)
                          : std::nullopt),
      form(artwork),
      game(form, recording_ ? static_cast<Platform&>(*recording_) : platform, highScores) {
    if (recorder)
        RecordEvents(form, *recorder);
}

void Game::Start() {
    game.Form_Load();
    game.Form_Activate();
}
