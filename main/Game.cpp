#include "main/Game.h"

#include "replay/GameRecording.h"

Game::Game(const Artwork& artwork, Platform& platform, HighScoreStore& highScores,
           ScriptRecorder* recorder, const Event::Layer& guard)
    : recording_(recorder ? std::optional<RecordingPlatform>(std::in_place, platform, *recorder)
                          : std::nullopt),
      form(artwork),
      game(form, recording_ ? static_cast<Platform&>(*recording_) : platform, highScores) {
    // The guard outermost, so that what goes wrong while the recorder notes an event is
    // caught as well; the recorder inside it, so an event that fails is noted as it ran.
    for (Event* event : form.Events()) {
        if (guard)
            event->AddLayer(guard);
        if (recorder)
            event->AddLayer(recordingLayer(form, *recorder));
    }
}

void Game::start() {
    game.Form_Load();
    game.Form_Activate();
}
