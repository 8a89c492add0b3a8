#include "ChildProcess.h"
#include "TempStore.h"

#include "main/HighScore.h"
#include "registry/RegistryTypes.h"

#include <QTest>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace reg;
using namespace std::chrono_literals;

namespace {

constexpr auto kKey = "Software\\Korvell\\Qelm\\Varnoth";
// A name that would clear a terminal's screen, as messages must never print it.
const std::string kZoe = "Zo\xc3\xab\x1b[2J\r";
const std::string kZoeShown = "Zo\xc3\xab\\x1b[2J\\x0d";

// The name each test player saves with a score, so a record shows whether both are one save's.
std::string holderName(double best) {
    return "P" + QString::number(best, 'f', 0).toStdString();
}

// A load by the given game, or by a new one.
std::pair<std::string, double> load(RegistryHighScore* game = nullptr) {
    RegistryHighScore fresh;
    QString who;
    double best = 0;
    (game ? *game : fresh).LoadHighScore(who, best);
    return {who.toStdString(), best};
}

void save(RegistryHighScore& game, double best, const std::string& name = "") {
    QString who = QString::fromStdString(name.empty() ? holderName(best) : name);
    game.SaveHighScore(who, best);
}

} // namespace

// A record as another program left it, then the saves of Old and at last Zoe, then what the next
// game loads: a save writes name and score whole, only over a lower score, rounded to a Long.
// A store the game must not write is refused by the load and the save alike, and the save says
// why, once, with the name escaped.
TEST(HighScore, SavesAndLoadsKeepTheBestRecord) {
    const std::string notMade =
        "varnoth: the best score, 5 by " + kZoeShown + ", could not be saved: ";
    const std::string foreign = " is not a Varnoth store";
    const struct {
        std::optional<RawValue> who, score;
        std::vector<double> saves;
        std::string loaded;
        const char* spoil = nullptr; // SQL run on the store
        std::string said = {};       // on standard error, after the store's path
    } cases[] = {
        {{}, {}, {}, "Unknown 1000"},
        {{}, RawValue{REG_DWORD, {0x34, 0x30}}, {}, "Unknown 12340"},
        {textValue(kZoe), {}, {}, kZoe + " 1000"},
        {textValue("Abcdefghijklmnopqrstuvwxyz"),
         textValue(" 0 "),
         {},
         "Abcdefghijklmnopqrstuvwxyz 0"},
        {RawValue{REG_DWORD, {42}}, {}, {}, "42 1000"},
        {textValue("Bea"), textValue("lots"), {}, "Bea -1"},
        {textValue("Bea"), textValue("12x"), {}, "Bea -1"},
        {{}, textValue(" +.5e1 "), {}, "Unknown 5"},
        {textValue("Bea"), textValue("lots"), {5}, kZoe + " 5"},
        {{}, {}, {500, 12340}, kZoe + " 12340"},
        {{}, {}, {12340, 12340}, "Old 12340"},
        {{}, {}, {2.5}, kZoe + " 2"},
        {{}, {}, {3.5}, kZoe + " 4"},
        {{}, {}, {-2147483648.5}, kZoe + " -2147483648"},
        {{}, {}, {2147483647.5}, kZoe + " 1000"},
        {{}, {}, {std::nan("")}, kZoe + " 1000"},
        {textValue("Bea"), {}, {5}, "Unknown -1", "CREATE INDEX i ON keys(id)", foreign},
    };
    for (const auto& c : cases) {
        TempStore store;
        for (const auto& [name, value] :
             {std::pair{"HighScoreWho", c.who}, {"HighScore", c.score}}) {
            if (value)
                putValue(HKEY_LOCAL_MACHINE, kKey, name, *value);
        }
        if (c.spoil != nullptr)
            runSql(store.path, c.spoil);
        testing::internal::CaptureStderr();
        {
            RegistryHighScore game;
            for (std::size_t i = 0; i < c.saves.size(); ++i)
                save(game, c.saves[i], i + 1 < c.saves.size() ? "Old" : kZoe);
            // A save that finds a best as high is done, not kept for later.
            game.finishSaving(0ms);
        }
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  c.said.empty() ? "" : notMade + store.path + c.said + "\n");
        const auto [who, best] = load();
        EXPECT_EQ(who + " " + QString::number(best, 'f', 0).toStdString(), c.loaded);
    }
}

// One copy of the game saving until it is killed at a random moment, now and then in the very
// first save of a store, and last eight copies ending at once with a new best each. Every
// record left is one save's name and score, never lower than before, after the eight the best
// of theirs; no load sees a mixed record, and no temporary file stays behind.
TEST(HighScore, KillsAndCopiesLeaveTheBestWholeRecord) {
    TempStore store;
    std::mt19937 random(20261206);
    int wrong = 0;
    double before = 0;
    for (int round = 0; round < 125; ++round) {
        const int copies = round < 120 ? 1 : 8;
        if (round % 20 == 0) {
            std::filesystem::remove(store.path);
            before = 0;
        }
        const auto start = std::chrono::steady_clock::now() + 50ms;
        std::vector<std::unique_ptr<ChildProcess>> games;
        for (int copy = 0; copy < copies; ++copy) {
            games.push_back(std::make_unique<ChildProcess>([=]() -> int {
                RegistryHighScore game;
                std::this_thread::sleep_until(start);
                const auto [who, best] = load(&game);
                for (double next = 1e6 * round + copy;; next += copies) {
                    save(game, next);
                    if (copies > 1)
                        return best != -1 && who != "Unknown" && who != holderName(best);
                }
            }));
        }
        if (copies == 1) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(random() % 50000));
            games[0]->kill();
        }
        for (auto& game : games)
            wrong += game->wait() == (copies == 1 ? 128 + SIGKILL : 0) ? 0 : 1;
        const auto [who, best] = load();
        const bool whole = who == holderName(best) || (who == "Unknown" && before == 0);
        wrong += whole && best >= before && (copies == 1 || best == 1e6 * round + 7) ? 0 : 1;
        before = who == "Unknown" ? 0 : best;
    }
    EXPECT_EQ(wrong, 0) << "of 120 kills and 5 rounds of 8 copies";
    RegistryHighScore last;
    save(last, 1e9);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(store.dir), {}), 1);
}

// Another program holds the store: a writer, or a reader, which never stops a load. A save is
// kept; while it is, it is the best score a load gives (never -1), a lower save leaves it, and
// its retries from the event loop never wait for the store. It is made as soon as the store is
// free, and one that can't be made even at the end of the program is reported.
TEST(HighScore, ABusyStoreNeverHoldsTheGameUp) {
    TempStore store;
    constexpr auto kCallLimit = 800ms;
    for (const char* hold : {"BEGIN EXCLUSIVE", "BEGIN; SELECT * FROM keys"}) {
        for (const bool freed : {true, false}) {
            const bool reader = hold[5] == ';';
            putValue(HKEY_LOCAL_MACHINE, kKey, "HighScore", {REG_DWORD, {100, 0, 0, 0}});
            auto holder = std::make_unique<ChildProcess>([&] {
                sqlite3* db = nullptr;
                sqlite3_open(store.path.c_str(), &db);
                sqlite3_busy_timeout(db, 5000); // past the loads below, that wait for the lock
                const int rc = sqlite3_exec(db, hold, nullptr, nullptr, nullptr);
                std::ofstream{store.path + "-held"};
                return rc + pause();
            });
            while (!std::filesystem::remove(store.path + "-held")) {
            }
            RegistryHighScore game(kCallLimit);
            EXPECT_EQ(load(&game).second, reader ? 100 : -1) << hold;
            save(game, 5000);
            save(game, 10);
            EXPECT_EQ(load(&game), std::pair(holderName(5000), 5000.0)) << hold;
            const auto begin = std::chrono::steady_clock::now();
            QTest::qWait(300);
            // A retry that waited for the store would take the whole call limit.
            EXPECT_LT(std::chrono::steady_clock::now() - begin, kCallLimit - 100ms) << hold;
            if (freed) {
                holder.reset();
                // Made from the event loop while the game goes on, not only at its end.
                EXPECT_TRUE(QTest::qWaitFor([] { return load().second == 5000; }, 2000));
            }
            testing::internal::CaptureStderr();
            game.finishSaving(300ms);
            EXPECT_EQ(testing::internal::GetCapturedStderr(),
                      freed ? ""
                            : "varnoth: the best score, 5000 by P5000, could not be saved: "
                              "another program kept the store busy\n");
            holder.reset();
            EXPECT_EQ(load().second, freed ? 5000 : 100);
        }
    }
}
