// Transactions inside transactions: a part that fails is undone to the last byte while the
// whole goes on, the whole decides for every part, and a write never hides inside a read.
#include "TempStore.h"

#include "registry/RegistryTypes.h"
#include "registry/SqliteDatabase.h"
#include "registry/SqliteError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

namespace {

using Store = RegistryStore;

// Read through a transaction of its own.
std::optional<RawValue> readBack(const std::string& name) {
    Store store(Store::Kind::Read);
    return store.getValue(store.createKey(reg::HKEY_CURRENT_USER, ""), name);
}

void set(Store& store, const std::string& name, const std::string& text) {
    const RawValue value = textValue(text);
    store.setValue(store.createKey(reg::HKEY_CURRENT_USER, ""), name, value.type, value.data);
}

TEST(RegistryStore, APartThatFailsLeavesNothingAndTheWholeDecides) {
    const TempStore temp;
    putValue(reg::HKEY_CURRENT_USER, "", "a", textValue("old"));
    {
        Store whole(Store::Kind::Write);
        set(whole, "a", "whole");
        try {
            Store part(Store::Kind::Write, &whole);
            set(part, "a", "part");
            set(part, "b", "part");
            throw SqliteError(SQLITE_FULL, "the disk filled up");
        } catch (const SqliteError&) {
        }
        Store kept(Store::Kind::Write, &whole);
        set(kept, "c", "kept");
        kept.commit();
        whole.commit();
    }
    EXPECT_EQ(readBack("a"), textValue("whole"));
    EXPECT_EQ(readBack("b"), std::nullopt);
    EXPECT_EQ(readBack("c"), textValue("kept"));
    {
        // A part's Commit keeps nothing when the whole is given up.
        Store whole(Store::Kind::Write);
        Store part(Store::Kind::Write, &whole);
        set(part, "d", "lost");
        part.commit();
    }
    EXPECT_EQ(readBack("d"), std::nullopt);

    Store read(Store::Kind::Read);
    try {
        const Store write(Store::Kind::Write, &read);
        ADD_FAILURE() << "a write was let into a read";
    } catch (const SqliteError& refused) {
        EXPECT_EQ(refused.code(), SQLITE_MISUSE);
        EXPECT_STREQ(refused.what(), "a write can't be part of a read");
    }
}

// A statement still running at the call's deadline is stopped there, however long it would
// run: a store someone else made large can't hold the game up.
TEST(RegistryStore, AStatementEndsAtTheCallsDeadline) {
    using namespace std::chrono_literals;
    const TempStore temp;
    SqliteDatabase db(temp.path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const auto begin = SqliteDatabase::Clock::now();
    db.limit(begin + 50ms, begin + 50ms);
    try {
        db.execute(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000000) "
            "SELECT count(*) FROM n");
        ADD_FAILURE() << "the statement ran to its end";
    } catch (const SqliteError& stopped) {
        EXPECT_EQ(stopped.code(), SQLITE_INTERRUPT);
        EXPECT_TRUE(stopped.busy()); // so a save is kept for later, as for a held store
    }
    EXPECT_LT(SqliteDatabase::Clock::now() - begin, 1s);
}

} // namespace
