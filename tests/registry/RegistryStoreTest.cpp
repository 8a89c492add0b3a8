// Transactions inside transactions: a part that fails is undone to the last byte while the
// whole goes on, the whole decides for every part, and a write never hides inside a read.
#include "TempStore.h"

#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using Store = RegistryStore;

// Read through a transaction of its own.
std::optional<RawValue> Read(const std::string& name) {
    Store store(Store::Kind::Read);
    return store.GetValue(store.CreateKey(reg::HKEY_CURRENT_USER, ""), name);
}

void Set(Store& store, const std::string& name, const std::string& text) {
    const RawValue value = Text(text);
    store.SetValue(store.CreateKey(reg::HKEY_CURRENT_USER, ""), name, value.type, value.data);
}

TEST(RegistryStore, APartThatFailsLeavesNothingAndTheWholeDecides) {
    const TempStore temp;
    PutValue(reg::HKEY_CURRENT_USER, "", "a", Text("old"));
    {
        Store whole(Store::Kind::Write);
        Set(whole, "a", "whole");
        try {
            Store part(Store::Kind::Write, &whole);
            Set(part, "a", "part");
            Set(part, "b", "part");
            throw SqliteError(SQLITE_FULL, "the disk filled up");
        } catch (const SqliteError&) {
        }
        Store kept(Store::Kind::Write, &whole);
        Set(kept, "c", "kept");
        kept.Commit();
        whole.Commit();
    }
    EXPECT_EQ(Read("a"), Text("whole"));
    EXPECT_EQ(Read("b"), std::nullopt);
    EXPECT_EQ(Read("c"), Text("kept"));
    {
        // A part's Commit keeps nothing when the whole is given up.
        Store whole(Store::Kind::Write);
        Store part(Store::Kind::Write, &whole);
        Set(part, "d", "lost");
        part.Commit();
    }
    EXPECT_EQ(Read("d"), std::nullopt);

    Store read(Store::Kind::Read);
    try {
        const Store write(Store::Kind::Write, &read);
        ADD_FAILURE() << "a write was let into a read";
    } catch (const SqliteError& refused) {
        EXPECT_EQ(refused.Code(), SQLITE_MISUSE);
        EXPECT_STREQ(refused.what(), "a write can't be part of a read");
    }
}

} // namespace
