#include "ChildProcess.h"
#include "StoreProbe.h"
#include "TempStore.h"

#include "main/HighScore.h"
#include "registry/RegistryTypes.h"

#include <QCoreApplication>
#include <QTimer>
#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace reg;
namespace fs = std::filesystem;

namespace {

constexpr auto kKey = "Software\\Korvell\\Qelm\\Varnoth";

RawValue Dword(std::int32_t l) {
    const auto u = static_cast<std::uint32_t>(l);
    return {REG_DWORD,
            {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
             static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)}};
}

// The name each test player saves with a score, so a record shows whether both are one save's.
QString Holder(double best) {
    return "P" + QString::number(best, 'f', 0);
}

void Store(const char* name, const RawValue& value) {
    ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, kKey, name, value));
}

} // namespace

TEST(HighScore, LoadGivesTheStoredRecordItsDefaultsOrMinusOne) {
    struct Case {
        const char* what;
        std::function<void(TempStore&)> setUp;
        QString who;
        double best;
    };
    const std::vector<Case> cases = {
        {"empty store", [](TempStore&) {}, "Unknown", 1000},
        {"score 0", [](TempStore&) { Store("HighScore", Dword(0)); }, "Unknown", 0},
        {"long name",
         [](TempStore&) {
             Store("HighScoreWho", {REG_SZ, Sz("Abcdefghijklmnopqrstuvwxyz")});
         },
         "Abcdefghijklmnopqrstuvwxyz", 1000},
        {"Ann 12340",
         [](TempStore&) {
             Store("HighScoreWho", {REG_SZ, Sz("Ann")});
             Store("HighScore", Dword(12340));
         },
         "Ann", 12340},
        {"name in UTF-8",
         [](TempStore&) {
             Store("HighScoreWho", {REG_SZ, Sz("Zo\xc3\xab")});
         },
         QString::fromUtf8("Zo\xc3\xab"), 1000},
        {"name as a number", [](TempStore&) { Store("HighScoreWho", Dword(42)); }, "42", 1000},
        {"score as numeric text",
         [](TempStore&) {
             Store("HighScore", {REG_SZ, Sz(" 1234 ")});
         },
         "Unknown", 1234},
        {"score as other text",
         [](TempStore&) {
             Store("HighScoreWho", {REG_SZ, Sz("Bea")});
             Store("HighScore", {REG_SZ, Sz("lots")});
         },
         "Bea", -1},
        {"score as bytes",
         [](TempStore&) {
             Store("HighScore", {REG_BINARY, {1, 2}});
         },
         "Unknown", -1},
        {"garbage store", [](TempStore& s) { std::ofstream(s.Path()) << std::string(900, 'G'); },
         "Unknown", -1},
        {"store below a plain file",
         [](TempStore& s) {
             std::ofstream(s.Directory() + "/plain") << "x";
             s.PointAt(s.Directory() + "/plain/store.db");
         },
         "Unknown", -1},
        {"store is a directory", [](TempStore& s) { fs::create_directory(s.Path()); }, "Unknown",
         -1},
    };
    for (const Case& c : cases) {
        TempStore store;
        c.setUp(store);
        QString who = "Before";
        double best = 77;
        RegistryHighScore().LoadHighScore(who, best);
        EXPECT_EQ(who, c.who) << c.what;
        EXPECT_EQ(best, c.best) << c.what;
    }
}

TEST(HighScore, FirstLoadCreatesTheKeyAndWritesNothingElse) {
    TempStore store;
    QString who;
    double best = 0;
    RegistryHighScore().LoadHighScore(who, best);
    RegistryStore probe(RegistryStore::Kind::Read);
    const auto key = probe.FindKey(HKEY_LOCAL_MACHINE, kKey);
    ASSERT_TRUE(key);
    EXPECT_TRUE(probe.ValueNames(*key).empty());
    EXPECT_TRUE(probe.SubkeyNames(*key).empty());
    EXPECT_EQ(who, "Unknown");
    EXPECT_EQ(best, 1000);
}

// The record is written whole, and only over a lower score: another copy of the game may have
// saved a better one since this game loaded it.
TEST(HighScore, SaveWritesTheNameThenTheScoreRoundedHalfToEvenOverALowerScoreOnly) {
    struct Case {
        std::optional<RawValue> before; // the stored score; the stored name is "Old"
        double score;
        std::optional<RawValue> after; // the name is then "Ann" unless the score stays
    };
    const RawValue text{REG_SZ, Sz("lots")};
    const std::vector<Case> cases = {
        {Dword(500), 12340, Dword(12340)},
        {Dword(12340), 12340, Dword(12340)},
        {Dword(20000), 12340, Dword(20000)},
        {text, 5, Dword(5)},
        {std::nullopt, 2.5, Dword(2)},
        {std::nullopt, 3.5, Dword(4)},
        {std::nullopt, -2.5, Dword(-2)},
        {std::nullopt, 2.4999, Dword(2)},
        {std::nullopt, 2147483647.4, Dword(2147483647)},
        {std::nullopt, -2147483648.5, Dword(std::numeric_limits<std::int32_t>::min())},
        {std::nullopt, 2147483647.5, std::nullopt},
        {std::nullopt, 3e9, std::nullopt},
        {std::nullopt, std::nan(""), std::nullopt},
    };
    for (const Case& c : cases) {
        TempStore store;
        Store("HighScoreWho", {REG_SZ, Sz("Old")});
        if (c.before) {
            Store("HighScore", *c.before);
        }
        QString who = "Ann";
        double best = c.score;
        RegistryHighScore().SaveHighScore(who, best);
        const bool kept = c.before && c.after == c.before && c.before != text;
        EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kKey, "HighScoreWho"),
                  (RawValue{REG_SZ, Sz(kept ? "Old" : "Ann")}))
            << c.score;
        EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kKey, "HighScore"), c.after) << c.score;
        EXPECT_EQ(who, "Ann");
        EXPECT_TRUE(std::isnan(best) || best == c.score);
    }
}

TEST(HighScore, ASavedRecordIsWhatTheNextGameLoads) {
    TempStore store;
    QString who = QString::fromUtf8("Zo\xc3\xab");
    double best = 12340;
    RegistryHighScore().SaveHighScore(who, best);
    QString loadedWho;
    double loadedBest = 0;
    RegistryHighScore().LoadHighScore(loadedWho, loadedBest);
    EXPECT_EQ(loadedWho, who);
    EXPECT_EQ(loadedBest, 12340);
}

TEST(HighScore, ASaveThatCantBeDoneIsSilentAndChangesNothing) {
    TempStore store;
    const std::string garbage = store.Path();
    std::ofstream(garbage) << std::string(900, 'G');
    std::ofstream(store.Directory() + "/plain") << "x";
    for (const std::string& path : {garbage, store.Directory() + "/plain/store.db"}) {
        store.PointAt(path);
        QString who = "Ann";
        double best = 1;
        EXPECT_NO_THROW(RegistryHighScore().SaveHighScore(who, best));
    }
    EXPECT_EQ(FileBytes(garbage), std::vector<std::uint8_t>(900, 'G'));
    EXPECT_EQ(FileBytes(store.Directory() + "/plain"), std::vector<std::uint8_t>{'x'});
}

// A game's own save killed at random moments, now and then the very first save of a store:
// every record left is one save's name with the same save's score, never lower than before, and
// the next save leaves no temporary file behind.
TEST(HighScore, AKillInMidSaveLeavesAWholeRecord) {
    TempStore store;
    std::mt19937 random(20261206);
    int torn = 0;
    double before = 0;
    constexpr int kKills = 120;
    for (int kill = 0; kill < kKills; ++kill) {
        if (kill % 20 == 0) {
            fs::remove(store.Path());
            before = 0;
        }
        ChildProcess game([] {
            RegistryHighScore highScores;
            QString who;
            double best = 0;
            highScores.LoadHighScore(who, best);
            for (best = std::max(best, 0.0) + 10;; best += 10) {
                who = Holder(best);
                highScores.SaveHighScore(who, best);
            }
            return 0;
        });
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 50000));
        game.Kill();
        ASSERT_EQ(game.Wait(), 128 + SIGKILL);
        QString who;
        double best = 0;
        RegistryHighScore().LoadHighScore(who, best);
        const bool whole = (who == "Unknown" && best == 1000 && before == 0) || who == Holder(best);
        torn += whole && best >= before ? 0 : 1;
        before = who == "Unknown" ? 0 : best;
    }
    std::cout << "kills: " << kKills << ", torn or lowered records: " << torn << '\n';
    EXPECT_EQ(torn, 0);
    QString who = "Last";
    double best = 1e9;
    RegistryHighScore().SaveHighScore(who, best);
    EXPECT_EQ(std::distance(fs::directory_iterator(store.Directory()), {}), 1);
}

// Eight copies of the game ending at once, round after round, each with its own new best. The
// best of each round is the record after it, whole; no load ever sees a mixed record.
TEST(HighScore, CopiesEndingTogetherKeepTheBestWholeRecord) {
    TempStore store;
    constexpr int kCopies = 8;
    constexpr int kRounds = 5;
    int wrong = 0;
    for (int round = 1; round <= kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
        std::vector<std::unique_ptr<ChildProcess>> copies;
        for (int copy = 0; copy < kCopies; ++copy) {
            copies.push_back(std::make_unique<ChildProcess>([=] {
                RegistryHighScore highScores;
                QString who;
                double best = 0;
                std::this_thread::sleep_until(start);
                highScores.LoadHighScore(who, best);
                const bool mixed = best != -1 && who != "Unknown" && who != Holder(best);
                best = 1000 * round + copy;
                who = Holder(best);
                highScores.SaveHighScore(who, best);
                return mixed ? 1 : 0;
            }));
        }
        for (auto& copy : copies) {
            wrong += copy->Wait();
        }
        QString who;
        double best = 0;
        RegistryHighScore().LoadHighScore(who, best);
        wrong += best == 1000 * round + kCopies - 1 && who == Holder(best) ? 0 : 1;
    }
    std::cout << "rounds of " << kCopies << " copies: " << kRounds
              << ", mixed, lowered or lost records: " << wrong << '\n';
    EXPECT_EQ(wrong, 0);
}

// Another program holds the store locked. A load gives up at once with -1, a save is kept and
// made from the event loop when the store is free again, or at the end of the program; one that
// can't be made even then is reported.
TEST(HighScore, ABusyStoreNeverHoldsTheGameUp) {
    TempStore store;
    Store("HighScore", Dword(100));
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);
    const auto lockStore = [&] {
        int ready[2];
        EXPECT_EQ(pipe(ready), 0);
        auto holder = std::make_unique<ChildProcess>([&] {
            sqlite3* db = nullptr;
            sqlite3_open(store.Path().c_str(), &db);
            sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            return write(ready[1], "!", 1) == 1 ? pause() : 1;
        });
        char byte = 0;
        EXPECT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        close(ready[1]);
        return holder;
    };
    const auto timed = [](const std::function<void()>& call) {
        const auto begin = std::chrono::steady_clock::now();
        call();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
            .count();
    };
    const auto stored = [] { return GetValue(HKEY_LOCAL_MACHINE, kKey, "HighScore"); };
    for (const char* end : {"event loop", "last flush", "held to the end"}) {
        auto holder = lockStore();
        RegistryHighScore highScores;
        QString who = "Ann";
        double best = 0;
        const double load = timed([&] { highScores.LoadHighScore(who, best); });
        EXPECT_EQ(best, -1);
        best = 5000;
        const double save = timed([&] { highScores.SaveHighScore(who, best); });
        std::cout << end << ": load " << load << " ms, save " << save << " ms while locked\n";
        // The store's wait is 100 ms; the rest is room for a busy machine, far below the seconds
        // a frozen window would show.
        EXPECT_LT(load, 250);
        EXPECT_LT(save, 250);
        if (std::string(end) != "held to the end") {
            holder.reset();
        }
        if (std::string(end) == "event loop") {
            QTimer::singleShot(2000, &app, &QCoreApplication::quit);
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (stored() == Dword(5000)) {
                    app.quit();
                }
            });
            poll.start(20);
            app.exec();
        }
        testing::internal::CaptureStderr();
        highScores.FinishSaving(std::chrono::milliseconds(300));
        const std::string said = testing::internal::GetCapturedStderr();
        holder.reset();
        EXPECT_EQ(stored(), Dword(std::string(end) == "held to the end" ? 100 : 5000)) << end;
        EXPECT_EQ(said.empty(), std::string(end) != "held to the end") << said;
        Store("HighScore", Dword(100));
    }
}
