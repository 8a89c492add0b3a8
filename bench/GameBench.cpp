// What one 25 ms tick costs: the game logic alone, and the logic with the window painted.
#include "forms/Font.h"
#include "game/Artwork.h"
#include "game/HighScoreStore.h"
#include "game/frmVarnoth.h"
#include "main/Game.h"
#include "main/HighScore.h"
#include "replay/Script.h"
#include "replay/ScriptRunner.h"
#include "replay/ScriptedPlatform.h"
#include "window/FormWindow.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <csignal>
#include <sqlite3.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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
struct SteadyPlayer {
    Artwork artwork;
    ScriptedPlatform platform;
    UnbeatenHighScore highScores;
    Game g{artwork, platform, highScores};
    frmVarnoth& game = g.game;
    long ticks = 0;

    SteadyPlayer() { game.Form_Load(); }

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
    SteadyPlayer g;
    for (auto _ : state)
        g.tick();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TickLogic);

// The whole window painted into an image after every tick: more than a real frame costs,
// where only the play field and the fire button are painted again.
void TickWithPainting(benchmark::State& state) {
    SteadyPlayer g;
    FormWindow window(g.g.form);
    QImage image(window.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        g.tick();
        window.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TickWithPainting)->Unit(benchmark::kMicrosecond);

// A long scripted game, replayed headless as varnoth-replay does: aiming, shots, extras and
// the code word now and then so that the lives never run out.
void HeadlessReplay(benchmark::State& state) {
    std::ostringstream text;
    for (int i = 0; i < 500; ++i)
        text << "tick 20\nextras\nclick\n"
             << (i % 10 == 0 ? "type quorly\n" : "") << "tick 20\nextras\n";
    std::istringstream in(text.str());
    const auto script = Script::parse(in);
    const Artwork artwork;
    UnbeatenHighScore highScores;
    std::ostringstream out;
    long long ticks = 0;
    for (auto _ : state) {
        ScriptedPlatform platform;
        Game game(artwork, platform, highScores);
        ScriptRunner runner(game.game, platform, out);
        game.game.Form_Load();
        for (const ScriptLine& line : script) {
            runner.run(line);
            ticks += ScriptRunner::tickCount(line);
        }
    }
    state.SetItemsProcessed(ticks);
}
BENCHMARK(HeadlessReplay)->Unit(benchmark::kMillisecond);

// The best score read and written through the registry layer, on a store of its own that
// lives as long as the benchmark.
struct StoreOfItsOwn {
    QTemporaryDir dir;
    RegistryHighScore store;
    QString who = QStringLiteral("Ann");
    double best = 12340;

    StoreOfItsOwn() {
        qputenv("VARNOTH_REGISTRY", dir.filePath(QStringLiteral("store.db")).toUtf8());
        store.SaveHighScore(who, best);
    }
};

void LoadHighScore(benchmark::State& state) {
    StoreOfItsOwn s;
    for (auto _ : state) {
        s.store.LoadHighScore(s.who, s.best);
        benchmark::DoNotOptimize(s.best);
    }
}
BENCHMARK(LoadHighScore)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void SaveHighScore(benchmark::State& state) {
    StoreOfItsOwn s;
    for (auto _ : state) {
        s.best += 1;
        s.store.SaveHighScore(s.who, s.best);
    }
}
BENCHMARK(SaveHighScore)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Another program holding the store, in a process of its own, until the object goes: in turns
// as a writer and then as a reader, turn ms each, or as a writer all along (turn 0).
class StoreHolder {
public:
    StoreHolder(const QTemporaryDir& dir, std::chrono::milliseconds turn) : pid_(fork()) {
        if (pid_ != 0)
            return;
        sqlite3* db = nullptr;
        sqlite3_open(dir.filePath(QStringLiteral("store.db")).toUtf8().constData(), &db);
        sqlite3_busy_timeout(db, 1000);
        for (bool writer = true;; writer = turn.count() == 0 || !writer) {
            sqlite3_exec(db, writer ? "BEGIN EXCLUSIVE" : "BEGIN; SELECT * FROM keys", nullptr,
                         nullptr, nullptr);
            std::this_thread::sleep_for(turn.count() == 0 ? std::chrono::hours(1) : turn);
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        }
    }
    ~StoreHolder() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    StoreHolder(const StoreHolder&) = delete;
    StoreHolder& operator=(const StoreHolder&) = delete;

private:
    pid_t pid_;
};

// Loads (0) or saves (1) while another program holds the store as a writer and then as a
// reader, 70 ms each: SQLite's own timeout would wait for each of them in turn. The figure to
// watch is the longest call.
void StoreCallUnderContention(benchmark::State& state) {
    StoreOfItsOwn s;
    const StoreHolder holder(s.dir, std::chrono::milliseconds(70));
    double longest = 0;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        if (state.range(0) == 0) {
            s.store.LoadHighScore(s.who, s.best);
        } else {
            s.best += 1;
            s.store.SaveHighScore(s.who, s.best);
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
        state.SetIterationTime(took.count());
        longest = std::max(longest, took.count() * 1000);
    }
    // A label, not a counter: the CSV that bench/run.sh reads wants the same counters in
    // every benchmark.
    state.SetLabel("longest " + std::to_string(static_cast<int>(std::lround(longest))) + " ms");
}
BENCHMARK(StoreCallUnderContention)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The last try of a kept save at the program's end, with the store held all along.
void LastTryAtExit(benchmark::State& state) {
    StoreOfItsOwn s;
    const StoreHolder holder(s.dir, std::chrono::milliseconds(0));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (auto _ : state) {
        s.best += 1;
        s.store.SaveHighScore(s.who, s.best);
        const auto begin = std::chrono::steady_clock::now();
        s.store.finishSaving();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
        state.SetIterationTime(took.count());
    }
}
BENCHMARK(LastTryAtExit)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

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
