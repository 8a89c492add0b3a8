// What one 25 ms tick costs: the game logic alone, and the logic with the window painted.
#include "game/HighScoreStore.h"
#include "game/frmVarnoth.h"
#include "view/Artwork.h"
#include "view/Font.h"
#include "view/FormWindow.h"
#include "view/ScriptedPlatform.h"
#include "view/VarnothForm.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

// A best score no game reaches, so no game over stops to ask for a name.
class UnbeatenHighScore : public HighScoreStore {
public:
    void LoadHighScore(QString& sWho, double& dBest) override {
        sWho = QStringLiteral("Bench");
        dBest = 1e12;
    }
    void SaveHighScore(QString&, double&) override {}
};

// A player who fires every 40 ticks and starts a new game whenever one ends.
struct Game {
    Artwork artwork;
    VarnothForm form{artwork};
    ScriptedPlatform platform;
    UnbeatenHighScore highScores;
    frmVarnoth game{form, platform, highScores};
    long ticks = 0;

    Game() { game.Form_Load(); }

    void tick() {
        if (++ticks % 40 == 0)
            game.picFire_Click();
        game.tmrState_Timer();
        if (ticks % 20 == 0)
            game.tmrExtras_Timer();
        if (game.Record().lGameState == 3)
            game.Form_Load();
    }
};

void TickLogic(benchmark::State& state) {
    Game g;
    for (auto _ : state)
        g.tick();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TickLogic);

// The whole window painted into an image after every tick: more than a real frame costs,
// where only the play field and the fire button are painted again.
void TickWithPainting(benchmark::State& state) {
    Game g;
    FormWindow window(g.form);
    QImage image(window.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        g.tick();
        window.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TickWithPainting)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Fonts::load();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
