#include "ChildProcess.h"
#include "StoreProbe.h"
#include "TempStore.h"

#include "main/HighScore.h"
#include "registry/RegistryTypes.h"

#include <QString>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <string>
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

TEST(HighScore, SaveWritesTheNameThenTheScoreRoundedHalfToEven) {
    const std::optional<std::int32_t> kept;
    const std::vector<std::pair<double, std::optional<std::int32_t>>> cases = {
        {12340, 12340},
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {2.4999, 2},
        {2147483647.4, 2147483647},
        {-2147483648.5, std::numeric_limits<std::int32_t>::min()},
        {2147483647.5, kept},
        {3e9, kept},
        {std::nan(""), kept},
    };
    for (const auto& [score, stored] : cases) {
        TempStore store;
        Store("HighScoreWho", {REG_SZ, Sz("Old")});
        Store("HighScore", Dword(500));
        QString who = "Ann";
        double best = score;
        RegistryHighScore().SaveHighScore(who, best);
        EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kKey, "HighScoreWho"),
                  (RawValue{REG_SZ, Sz("Ann")}));
        EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, kKey, "HighScore"), Dword(stored.value_or(500)))
            << score;
        EXPECT_EQ(who, "Ann");
        EXPECT_TRUE(std::isnan(best) || best == score);
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

// Four copies of the game finishing games at once. Every load in between must come through
// with a score some copy wrote (a -1 would be a load that gave up waiting); its name may be
// caught half-way, as a string is read in two calls (size, then text) and may change between
// them. What stays at the end is a whole name and a whole score that some copy wrote.
TEST(HighScore, FourGamesSavingAtOnceLeaveAWholeRecord) {
    TempStore store;
    constexpr int kGames = 4;
    constexpr int kSaves = 30;
    const auto name = [](int game, int save) { return QString("P%1-%2").arg(game).arg(save); };
    std::set<QString> written;
    for (int game = 0; game < kGames; ++game) {
        for (int save = 0; save < kSaves; ++save) {
            written.insert(name(game, save));
        }
    }
    const auto scoreWritten = [&](double best) {
        return best >= 1000 && best < 1000 * (kGames + 1) && std::fmod(best, 1000) < kSaves;
    };
    std::vector<std::unique_ptr<ChildProcess>> games;
    for (int game = 0; game < kGames; ++game) {
        games.push_back(std::make_unique<ChildProcess>([&, game] {
            int broken = 0;
            for (int save = 0; save < kSaves; ++save) {
                QString who = name(game, save);
                double best = 1000 * (game + 1) + save;
                RegistryHighScore().SaveHighScore(who, best);
                RegistryHighScore().LoadHighScore(who, best);
                broken += scoreWritten(best) ? 0 : 1;
            }
            return broken;
        }));
    }
    for (auto& game : games) {
        EXPECT_EQ(game->Wait(), 0);
    }
    QString who;
    double best = 0;
    RegistryHighScore().LoadHighScore(who, best);
    EXPECT_TRUE(written.contains(who)) << who.toStdString();
    EXPECT_TRUE(scoreWritten(best)) << best;
}
