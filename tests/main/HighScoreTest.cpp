#include "ChildProcess.h"
#include "TempStore.h"

#include "main/HighScore.h"
#include "registry/RegistryTypes.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace reg;
using namespace std::chrono_literals;

namespace {

constexpr auto kKey = "Software\\Korvell\\Qelm\\Varnoth";
const std::string kZoe = "Zo\xc3\xab";

RawValue Dword(std::int32_t l) {
    const auto u = static_cast<std::uint32_t>(l);
    return {REG_DWORD,
            {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)}};
}

// The name each test player saves with a score, so a record shows whether both are one save's.
std::string Holder(double best) {
    return "P" + QString::number(best, 'f', 0).toStdString();
}

std::pair<std::string, double> Load(RegistryHighScore& scores) {
    QString who;
    double best = 0;
    scores.LoadHighScore(who, best);
    return {who.toStdString(), best};
}

void Save(RegistryHighScore& scores, double best, const std::string& name = "") {
    QString who = QString::fromStdString(name.empty() ? Holder(best) : name);
    scores.SaveHighScore(who, best);
}

} // namespace

// A record as another program left it, then maybe a save by Zoe, then what the next game loads:
// a save writes name and score together, only over a lower score, the score rounded to a Long.
TEST(HighScore, SavesAndLoadsKeepTheBestRecord) {
    const auto text = [](const char* s) { return RawValue{REG_SZ, Sz(s)}; };
    const struct {
        std::optional<RawValue> who, score;
        std::optional<double> save;
        std::string loaded;
    } cases[] = {
        {{}, {}, {}, "Unknown 1000"},
        {{}, Dword(0), {}, "Unknown 0"},
        {text(kZoe.c_str()), Dword(12340), {}, kZoe + " 12340"},
        {text("Abcdefghijklmnopqrstuvwxyz"), {}, {}, "Abcdefghijklmnopqrstuvwxyz 1000"},
        {Dword(42), text(" 1234 "), {}, "42 1234"},
        {text("Bea"), text("lots"), {}, "Bea -1"},
        {text("Bea"), text("lots"), 5, kZoe + " 5"},
        {text("Old"), Dword(500), 12340, kZoe + " 12340"},
        {text("Old"), Dword(12340), 12340, "Old 12340"},
        {text("Old"), Dword(20000), 12340, "Old 20000"},
        {{}, {}, 2.5, kZoe + " 2"},
        {{}, {}, 3.5, kZoe + " 4"},
        {{}, {}, -2.5, kZoe + " -2"},
        {{}, {}, 2147483647.4, kZoe + " 2147483647"},
        {{}, {}, -2147483648.5, kZoe + " -2147483648"},
        {{}, {}, 2147483647.5, kZoe + " 1000"},
        {{}, {}, std::nan(""), kZoe + " 1000"},
    };
    for (const auto& c : cases) {
        TempStore store;
        for (const auto& [name, value] :
             {std::pair{"HighScoreWho", c.who}, {"HighScore", c.score}}) {
            ASSERT_TRUE(!value || PutValue(HKEY_LOCAL_MACHINE, kKey, name, *value));
        }
        RegistryHighScore scores;
        if (c.save) {
            Save(scores, *c.save, kZoe);
        }
        const auto [who, best] = Load(scores);
        EXPECT_EQ(who + " " + QString::number(best, 'f', 0).toStdString(), c.loaded);
    }
    TempStore empty; // the first load makes the key, and nothing in it
    RegistryHighScore scores;
    Load(scores);
    RegistryStore probe(RegistryStore::Kind::Read);
    EXPECT_TRUE(probe.ValueNames(probe.FindKey(HKEY_LOCAL_MACHINE, kKey).value()).empty());
}

// A game's own save killed at random moments, now and then the very first save of a store:
// every record left is one save's name with the same save's score, never lower than before, and
// the next save leaves no temporary file behind.
TEST(HighScore, AKillInMidSaveLeavesAWholeRecord) {
    TempStore store;
    RegistryHighScore reader;
    std::mt19937 random(20261206);
    int torn = 0;
    double before = 0;
    for (int kill = 0; kill < 120; ++kill) {
        if (kill % 20 == 0) {
            std::filesystem::remove(store.path);
            before = 0;
        }
        ChildProcess game([]() -> int {
            RegistryHighScore scores;
            for (double best = std::max(Load(scores).second, 0.0) + 10;; best += 10) {
                Save(scores, best);
            }
        });
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 50000));
        game.Kill();
        ASSERT_EQ(game.Wait(), 128 + SIGKILL);
        const auto [who, best] = Load(reader);
        torn +=
            (who == Holder(best) || (who == "Unknown" && before == 0)) && best >= before ? 0 : 1;
        before = who == "Unknown" ? 0 : best;
    }
    std::cout << "kills: 120, torn or lowered records: " << torn << '\n';
    EXPECT_EQ(torn, 0);
    Save(reader, 1e9);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(store.dir), {}), 1);
}

// Eight copies of the game ending at once, round after round, each with its own new best. The
// best of each round is the record after it, whole; no load ever sees a mixed record.
TEST(HighScore, CopiesEndingTogetherKeepTheBestWholeRecord) {
    TempStore store;
    RegistryHighScore reader;
    int wrong = 0;
    for (int round = 1; round <= 5; ++round) {
        const auto start = std::chrono::steady_clock::now() + 50ms;
        std::vector<std::unique_ptr<ChildProcess>> copies;
        for (int copy = 0; copy < 8; ++copy) {
            copies.push_back(std::make_unique<ChildProcess>([=] {
                RegistryHighScore scores;
                std::this_thread::sleep_until(start);
                const auto [who, best] = Load(scores);
                Save(scores, 1000 * round + copy);
                return best != -1 && who != "Unknown" && who != Holder(best) ? 1 : 0;
            }));
        }
        for (auto& copy : copies) {
            wrong += copy->Wait();
        }
        const auto [who, best] = Load(reader);
        wrong += best == 1000 * round + 7 && who == Holder(best) ? 0 : 1;
    }
    std::cout << "5 rounds of 8 copies, mixed, lowered or lost records: " << wrong << '\n';
    EXPECT_EQ(wrong, 0);
}

// Another program holds the store locked. A load gives up at once with -1; a save is kept and
// made from the event loop when the store is free again, or at the end of the program, and one
// that can't be made even then is reported.
TEST(HighScore, ABusyStoreNeverHoldsTheGameUp) {
    TempStore store;
    const auto score = [] { return GetValue(HKEY_LOCAL_MACHINE, kKey, "HighScore"); };
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);
    for (const int end : {0, 1, 2}) { // event loop, last flush, held to the end
        ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, kKey, "HighScore", Dword(100)));
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        auto holder = std::make_unique<ChildProcess>([&] {
            sqlite3* db = nullptr;
            sqlite3_open(store.path.c_str(), &db);
            sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            return write(ready[1], "!", 1) == 1 ? pause() : 1;
        });
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]), close(ready[1]);
        RegistryHighScore scores;
        const auto begin = std::chrono::steady_clock::now();
        EXPECT_EQ(Load(scores).second, -1);
        Save(scores, 5000);
        // Two waits of 100 ms, with room for a busy machine: far from a frozen window's seconds.
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - begin;
        std::cout << "load and save while locked: " << took.count() << " ms\n";
        EXPECT_LT(took, 500ms);
        if (end < 2) {
            holder.reset();
        }
        if (end == 0) {
            QTimer::singleShot(2000, &app, &QCoreApplication::quit);
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (score() == Dword(5000)) {
                    app.quit();
                }
            });
            poll.start(20);
            app.exec();
            EXPECT_EQ(score(), Dword(5000));
        }
        testing::internal::CaptureStderr();
        scores.FinishSaving(300ms);
        const std::string said = testing::internal::GetCapturedStderr();
        holder.reset();
        EXPECT_EQ(score(), Dword(end == 2 ? 100 : 5000)) << end;
        EXPECT_EQ(said.empty(), end < 2) << said;
    }
}
