// Transactions inside transactions: a part that fails is undone to the last byte while the
// whole goes on, the whole decides for every part, and a write never hides inside a read.
#include "TempStore.h"

#include "registry/RegistryTypes.h"
#include "registry/SqliteError.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace reg;

namespace {

constexpr auto kKey = "Software\\Korvell";
using Store = RegistryStore;

std::optional<RawValue> Read(const std::string& name) {
    Store store(Store::Kind::Read);
    const auto key = store.FindKey(HKEY_CURRENT_USER, kKey);
    return key ? store.GetValue(*key, name) : std::nullopt;
}

void Set(Store& store, const std::string& name, const RawValue& value) {
    store.SetValue(store.CreateKey(HKEY_CURRENT_USER, kKey), name, value.type, value.data);
}

TEST(RegistryStore, APartThatFailsLeavesNothingAndTheWholeDecides) {
    const TempStore temp;
    PutValue(HKEY_CURRENT_USER, kKey, "a", Text("old"));
    {
        Store whole(Store::Kind::Write);
        Set(whole, "a", Text("whole"));
        try {
            Store part(Store::Kind::Write);
            Set(part, "a", Text("part"));
            Set(part, "b", Text("part"));
            throw SqliteError(SQLITE_FULL, "the disk filled up");
        } catch (const SqliteError&) {
        }
        {
            Store part(Store::Kind::Write);
            Set(part, "c", Text("kept"));
            part.Commit();
        }
        EXPECT_EQ(Read("a"), Text("whole"));
        EXPECT_EQ(Read("b"), std::nullopt);
        whole.Commit();
    }
    EXPECT_EQ(Read("a"), Text("whole"));
    EXPECT_EQ(Read("b"), std::nullopt);
    EXPECT_EQ(Read("c"), Text("kept"));
    {
        // A part's Commit keeps nothing when the whole is given up.
        Store whole(Store::Kind::Write);
        Store part(Store::Kind::Write);
        Set(part, "d", Text("lost"));
        part.Commit();
    }
    EXPECT_EQ(Read("d"), std::nullopt);

    Store read(Store::Kind::Read);
    try {
        Store write(Store::Kind::Write);
        ADD_FAILURE() << "a write was let into a read";
    } catch (const SqliteError& refused) {
        EXPECT_EQ(refused.Code(), SQLITE_MISUSE);
        EXPECT_STREQ(refused.what(), "a write can't be part of a read");
    }
    EXPECT_EQ(Read("a"), Text("whole")); // the read goes on, as a part of its own
}

} // namespace
