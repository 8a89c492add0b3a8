#include "StoreProbe.h"
#include "TempStore.h"

#include "registry/RegistryError.h"
#include "registry/RegistryTypes.h"
#include "registry/clsRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace reg;

namespace {

constexpr auto kMachine = static_cast<std::int32_t>(HKEY_LOCAL_MACHINE);

clsRegistry At(const std::string& section, const std::string& value = "V") {
    clsRegistry registry;
    registry.ClassKey(kMachine);
    registry.SectionKey(section);
    registry.ValueKey(value);
    return registry;
}

void MakeGarbage(const std::string& path) {
    std::ofstream(path, std::ios::binary) << std::string(3000, '\x5a');
}

} // namespace

TEST(clsRegistry, ValueLetStoresTheTypeAndBytesOfEachKindAndReadsThemBack) {
    setenv("VARNOTH_PLACE", "C:\\Games", 1);
    struct Case {
        std::int32_t valueType;
        Variant written;
        std::optional<RawValue> stored;
        Variant readBack;
    };
    const std::vector<Case> cases = {
        {REG_SZ, std::string("Ann"), RawValue{REG_SZ, Sz("Ann")}, std::string("Ann")},
        {REG_SZ, std::string("50% off"), RawValue{REG_SZ, Sz("50% off")}, std::string("50% off")},
        {REG_SZ, std::string("100%%"), RawValue{REG_SZ, Sz("100%%")}, std::string("100%%")},
        {REG_SZ, std::string("%VARNOTH_PLACE%\\x"),
         RawValue{REG_EXPAND_SZ, Sz("%VARNOTH_PLACE%\\x")}, std::string("C:\\Games\\x")},
        {REG_EXPAND_SZ, std::string("plain"), RawValue{REG_SZ, Sz("plain")}, std::string("plain")},
        {REG_SZ, std::int32_t{7}, RawValue{REG_SZ, Sz("7")}, std::string("7")},
        {REG_SZ, 1.5, RawValue{REG_SZ, Sz("1.5")}, std::string("1.5")},
        {REG_DWORD, std::int32_t{12340}, RawValue{REG_DWORD, {0x34, 0x30, 0, 0}},
         std::int32_t{12340}},
        {REG_DWORD, std::int16_t{-2}, RawValue{REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}},
         std::int32_t{-2}},
        {REG_DWORD_BIG_ENDIAN, std::int32_t{0x01020304}, RawValue{REG_DWORD, {4, 3, 2, 1}},
         std::int32_t{0x01020304}},
        {REG_BINARY, ByteArray{1, 2, 3, 0}, RawValue{REG_BINARY, {1, 2, 3}}, ByteArray{1, 2, 3, 0}},
        {REG_DWORD, 1.5, std::nullopt, Variant{}},
        {REG_DWORD_BIG_ENDIAN, std::string("12"), std::nullopt, Variant{}},
    };
    for (const Case& c : cases) {
        TempStore store;
        clsRegistry registry = At("Game");
        registry.ValueType(c.valueType);
        EXPECT_NO_THROW(registry.Value(c.written));
        EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, "Game", "V"), c.stored)
            << VariantToString(c.written);
        EXPECT_EQ(registry.Value(), c.readBack) << VariantToString(c.written);
        if (c.stored) {
            EXPECT_EQ(registry.ValueType(), static_cast<std::int32_t>(c.stored->type));
        }
    }
}

TEST(clsRegistry, ValueGetReadsByTheStoredType) {
    setenv("VARNOTH_PLACE", "C:\\Games", 1);
    const std::vector<std::pair<RawValue, Variant>> cases = {
        {{REG_DWORD_BIG_ENDIAN, {1, 2, 3, 4}}, std::int32_t{0x01020304}},
        {{REG_DWORD, {1, 2, 3, 4}}, std::int32_t{0x04030201}},
        {{REG_DWORD, {7}}, std::int32_t{7}},
        {{REG_SZ, {}}, std::string()},
        {{REG_SZ, {'a', 'b', 'c'}}, std::string("ab")},
        {{REG_MULTI_SZ, {'a', 0, 'b', 0, 0}}, std::string("a\0b\0", 4)},
        {{REG_EXPAND_SZ, Sz("%VARNOTH_PLACE%")}, std::string("C:\\Games")},
        {{REG_BINARY, {}}, ByteArray{0}},
        {{REG_NONE, {5, 6}}, ByteArray{5, 6, 0}},
        {{9, {1}}, ByteArray{1, 0}},
    };
    for (const auto& [stored, expected] : cases) {
        TempStore store;
        ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, "Game", "V", stored), 0);
        clsRegistry registry = At("Game");
        EXPECT_EQ(registry.Value(), expected) << stored.type;
        EXPECT_EQ(registry.ValueType(), static_cast<std::int32_t>(stored.type));
    }
}

TEST(clsRegistry, BinaryReadThenWrittenBackStoresTheSameBytes) {
    TempStore store;
    const RawValue original{REG_BINARY, {0, 255, 7, 0, 9}};
    ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, "Game", "V", original), 0);
    clsRegistry registry = At("Game");
    const Variant read = registry.Value();
    registry.Value(read);
    EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, "Game", "V"), original);
}

TEST(clsRegistry, AValueThatCantBeReadGivesDefaultAndLeavesValueType) {
    TempStore store;
    ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, "Game", "Other", {REG_SZ, Sz("x")}), 0);
    for (const char* section : {"Game", "Missing\\Key"}) {
        clsRegistry registry = At(section);
        EXPECT_EQ(registry.Value(), Variant{});
        registry.Default(std::int32_t{5});
        registry.ValueType(REG_BINARY);
        EXPECT_EQ(registry.Value(), Variant{std::int32_t{5}});
        EXPECT_EQ(registry.ValueType(), REG_BINARY);
    }
}

TEST(clsRegistry, FailuresRaiseTheirNumberAndExactDescription) {
    struct Case {
        bool garbageStore;
        std::function<void(clsRegistry&)> action;
        std::int32_t number;
        std::string description;
    };
    const std::string setPrefix =
        "Failed to set registry value Key: '-2147483646',Section: 'Game',Key: 'V'";
    const std::vector<Case> cases = {
        {true,
         [](clsRegistry& r) {
             r.SectionKey("Software\\X");
             r.CreateKey();
         },
         26001, "Failed to create registry Key: 'Software\\X"},
        {false, [](clsRegistry& r) { r.DeleteKey(); }, 26001,
         "Failed to delete registry Key: '-2147483646',Section: 'Game"},
        {false,
         [](clsRegistry& r) {
             r.SectionKey("Nope");
             r.DeleteValue();
         },
         26001, "Failed to open key '-2147483646',Section: 'Nope' for delete access"},
        {false,
         [](clsRegistry& r) {
             r.ValueKey("Gone");
             r.DeleteValue();
         },
         26001, "Failed to delete registry Key: '-2147483646',Section: 'Game',Key: 'Gone"},
        {true,
         [](clsRegistry& r) {
             r.ValueType(REG_SZ);
             r.Value(std::string("Ann"));
         },
         26001, setPrefix + " to value: 'Ann'"},
        {false, [](clsRegistry& r) { r.Value(std::string("Ann")); }, -2147194455,
         setPrefix + " to value: ''"},
        {false,
         [](clsRegistry& r) {
             r.ValueType(REG_SZ);
             r.Value(std::string("first"));
             r.ValueType(REG_MULTI_SZ);
             r.Value(std::string("second"));
         },
         RegistryError::kWriteFailed, setPrefix + " to value: 'first'"},
        {false,
         [](clsRegistry& r) {
             r.ValueType(REG_BINARY);
             r.Value(std::string("x"));
         },
         26001, ""},
        {false,
         [](clsRegistry& r) {
             r.CreateAdditionalEXEAssociations("Game", {1, 2, 3, 4});
         },
         RegistryError::kBadAssociationList,
         "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
         "Name/Text/Command"},
        {false,
         [](clsRegistry& r) {
             r.CreateAdditionalEXEAssociations("Nope", {1, 2, 3});
         },
         static_cast<std::int32_t>(0x800469AD),
         "Error - attempt to create additional associations before class defined."},
    };
    for (const Case& c : cases) {
        TempStore store;
        if (c.garbageStore) {
            MakeGarbage(store.Path());
        } else {
            ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, "Game\\Level", "V", {REG_SZ, Sz("x")}), 0);
        }
        clsRegistry registry = At("Game");
        try {
            c.action(registry);
            ADD_FAILURE() << "nothing raised for " << c.description;
        } catch (const RegistryError& error) {
            EXPECT_EQ(error.Number(), c.number);
            EXPECT_EQ(error.Source(), "clsRegistry.clsRegistry");
            EXPECT_EQ(error.Description(), c.description);
        }
    }
}

TEST(clsRegistry, AssociationListOfWrongLengthFailsBeforeTheStoreIsTouched) {
    TempStore store;
    clsRegistry registry;
    EXPECT_THROW(registry.CreateAdditionalEXEAssociations("Game", {1, 2, 3, 4}), RegistryError);
    EXPECT_FALSE(std::filesystem::exists(store.Path()));
}

TEST(clsRegistry, KeyMembersCreateTestAndDelete) {
    TempStore store;
    clsRegistry registry = At("Game\\Level");
    EXPECT_FALSE(registry.KeyExists());
    EXPECT_TRUE(registry.CreateKey());
    EXPECT_TRUE(registry.KeyExists());
    EXPECT_TRUE(registry.CreateKey());
    registry.ValueType(REG_SZ);
    registry.Value(std::string("x"));
    EXPECT_TRUE(registry.DeleteValue());
    EXPECT_FALSE(GetValue(HKEY_LOCAL_MACHINE, "Game\\Level", "V"));
    EXPECT_TRUE(registry.DeleteKey());
    EXPECT_FALSE(registry.KeyExists());
    registry.SectionKey("Game");
    EXPECT_TRUE(registry.KeyExists());
}

TEST(clsRegistry, EnumerationsListNamesOrEmptyListsForAMissingKey) {
    TempStore store;
    for (const char* name : {"Alpha", "b", ""}) {
        ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, "Game", name, {REG_SZ, Sz(name)}), 0);
    }
    for (const char* sub : {"Game\\zeta", "Game\\Beta", "Game\\alpha"}) {
        ASSERT_EQ(PutValue(HKEY_LOCAL_MACHINE, sub, "", {REG_SZ, Sz("")}), 0);
    }
    const std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>> cases = {
        {"Game", {{"Alpha", "b", ""}, {"alpha", "Beta", "zeta"}}},
        {"Game\\Beta", {{""}, {}}},
        {"Missing", {{}, {}}},
    };
    for (const auto& [section, expected] : cases) {
        clsRegistry registry = At(section);
        std::vector<std::string> names = {"stale"};
        std::int32_t count = -1;
        EXPECT_TRUE(registry.EnumerateValues(names, count));
        EXPECT_EQ(names, expected[0]) << section;
        EXPECT_EQ(count, static_cast<std::int32_t>(expected[0].size()));
        names = {"stale"};
        EXPECT_TRUE(registry.EnumerateSections(names, count));
        EXPECT_EQ(names, expected[1]) << section;
        EXPECT_EQ(count, static_cast<std::int32_t>(expected[1].size()));
    }
}

TEST(clsRegistry, FileTypeAssociationWritesBothClassesTrees) {
    TempStore store;
    clsRegistry registry;
    registry.CreateEXEAssociation("  C:\\Games\\varnoth.exe ", "Varnoth.Replay", "Varnoth replay",
                                  "vrp", "", true, "", true, "Make", true, "", 2);
    // The class is looked for under ClassKey, which the association left at HKLM.
    registry.ClassKey(static_cast<std::int32_t>(HKEY_CLASSES_ROOT));
    registry.CreateAdditionalEXEAssociations(
        "Varnoth.Replay", {std::string("play"), std::string("&Play"), std::string("run %1"),
                           std::string("edit"), std::string("&Edit"), std::int32_t{5}});
    const std::string exe = "\"C:\\Games\\varnoth.exe\"";
    const std::vector<std::pair<std::string, std::string>> entries = {
        {".vrp", "Varnoth.Replay"},
        {"Varnoth.Replay", "Varnoth replay"},
        {"Varnoth.Replay\\shell\\open", "&Open"},
        {"Varnoth.Replay\\shell\\open\\command", exe + " \"%1\""},
        {"Varnoth.Replay\\shell\\print", "&Print"},
        {"Varnoth.Replay\\shell\\print\\command", exe + " /p \"%1\""},
        {"Varnoth.Replay\\shell\\add", "&Install vrp"},
        {"Varnoth.Replay\\shell\\add\\command", exe + " /a \"%1\""},
        {"Varnoth.Replay\\shell\\new", "Make"},
        {"Varnoth.Replay\\shell\\new\\command", exe + " /n \"%1\""},
        {"Varnoth.Replay\\DefaultIcon", exe + ",2"},
        {"Varnoth.Replay\\shell\\play", "&Play"},
        {"Varnoth.Replay\\shell\\play\\command", "run %1"},
        {"Varnoth.Replay\\shell\\edit\\command", "5"},
    };
    for (const auto& [key, text] : entries) {
        const RawValue expected{REG_SZ, Sz(text)};
        EXPECT_EQ(GetValue(HKEY_CLASSES_ROOT, key.c_str(), ""), expected) << key;
        EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, ("SOFTWARE\\Classes\\" + key).c_str(), ""),
                  expected);
    }
    EXPECT_EQ(registry.ClassKey(), kMachine);
    EXPECT_EQ(registry.SectionKey(), "Varnoth.Replay\\shell\\edit\\command");
}

TEST(clsRegistry, ExePathIsTrimmedAndQuotedOnce) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {" a b.exe  ", "\"a b.exe\""},
        {"\"q.exe\"", "\"q.exe\""},
        {"\"half.exe", "\"half.exe\""},
        {"tail.exe\"", "\"tail.exe\""},
    };
    for (const auto& [path, quoted] : cases) {
        TempStore store;
        clsRegistry registry;
        registry.CreateEXEAssociation(path, "C", "", "x", "Go", false, "", false, "", false, "",
                                      -1);
        EXPECT_EQ(GetValue(HKEY_CLASSES_ROOT, "C\\shell\\open\\command", ""),
                  (RawValue{REG_SZ, Sz(quoted + " \"%1\"")}));
        EXPECT_EQ(GetValue(HKEY_CLASSES_ROOT, "C\\shell\\open", ""), (RawValue{REG_SZ, Sz("Go")}));
        EXPECT_FALSE(GetValue(HKEY_CLASSES_ROOT, "C\\DefaultIcon", ""));
    }
}
