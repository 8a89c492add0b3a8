#include "StoreProbe.h"
#include "TempStore.h"

#include "registry/RegistryError.h"
#include "registry/RegistryTypes.h"
#include "registry/clsRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
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

} // namespace

// Each case either writes a value through the class with a ValueType, or finds one stored by
// another program; then it reads the value back.
TEST(clsRegistry, ValuesKeepTheirTypeAndBytesAndReadBackByType) {
    setenv("VARNOTH_PLACE", "C:\\Games", 1);
    unsetenv("VARNOTH_NOT_SET");
    const Variant kDefault = std::int16_t{-7};
    struct Case {
        std::int32_t valueType; // 0: `stored`, if any, was put there by another program
        Variant written;
        std::optional<RawValue> stored;
        Variant read;
    };
    const std::vector<Case> cases = {
        {REG_SZ, std::string("Ann"), RawValue{REG_SZ, Sz("Ann")}, std::string("Ann")},
        {REG_SZ, std::string("50% off"), RawValue{REG_SZ, Sz("50% off")}, std::string("50% off")},
        {REG_SZ, std::string("100%%"), RawValue{REG_SZ, Sz("100%%")}, std::string("100%%")},
        {REG_SZ, std::string("%VARNOTH_PLACE%\\x%VARNOTH_NOT_SET%"),
         RawValue{REG_EXPAND_SZ, Sz("%VARNOTH_PLACE%\\x%VARNOTH_NOT_SET%")},
         std::string("C:\\Games\\x%VARNOTH_NOT_SET%")},
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
        {REG_DWORD, 1.5, std::nullopt, kDefault},
        {REG_DWORD_BIG_ENDIAN, std::string("12"), std::nullopt, kDefault},
        {0, {}, std::nullopt, kDefault},
        {0, {}, RawValue{REG_DWORD_BIG_ENDIAN, {1, 2, 3, 4}}, std::int32_t{0x01020304}},
        {0, {}, RawValue{REG_DWORD, {1, 2, 3, 4}}, std::int32_t{0x04030201}},
        {0, {}, RawValue{REG_DWORD, {7}}, std::int32_t{7}},
        {0, {}, RawValue{REG_DWORD, {1, 2, 3, 4, 5}}, std::int32_t{0}},
        {0, {}, RawValue{REG_SZ, {}}, std::string()},
        {0, {}, RawValue{REG_SZ, {'a', 'b', 'c'}}, std::string("ab")},
        {0, {}, RawValue{REG_MULTI_SZ, {'a', 0, 'b', 0, 0}}, std::string("a\0b\0", 4)},
        {0, {}, RawValue{REG_BINARY, {}}, ByteArray{0}},
        {0, {}, RawValue{REG_NONE, {5, 6}}, ByteArray{5, 6, 0}},
        {0, {}, RawValue{9, {1}}, ByteArray{1, 0}},
    };
    for (const Case& c : cases) {
        TempStore store;
        clsRegistry registry = At("Game");
        registry.Default(kDefault);
        if (c.valueType == 0 && c.stored) {
            ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, "Game", "v", *c.stored));
        } else if (c.valueType != 0) {
            registry.ValueType(c.valueType);
            EXPECT_NO_THROW(registry.Value(c.written));
            EXPECT_EQ(GetValue(HKEY_LOCAL_MACHINE, "Game", "V"), c.stored)
                << VariantToString(c.written);
        }
        registry.ValueType(-1);
        EXPECT_EQ(registry.Value(), c.read) << VariantToString(c.read);
        EXPECT_EQ(registry.ValueType(), c.stored ? static_cast<std::int32_t>(c.stored->type) : -1);
    }
}

TEST(clsRegistry, FailuresRaiseTheirNumberAndExactDescription) {
    struct Case {
        bool garbageStore;
        const char* section;
        std::string value;
        char call; // C create, K delete key, D delete value, W write "Ann", F write twice, A/N
                   // associations with a bad list or no class
        std::int32_t valueType;
        std::int32_t number;
        std::string description;
    };
    const std::string set = "Failed to set registry value Key: '-2147483646',Section: 'Game',Key: ";
    const std::vector<Case> cases = {
        {true, "Software\\X", "V", 'C', 0, 26001, "Failed to create registry Key: 'Software\\X"},
        {false, "Game", "V", 'K', 0, 26001,
         "Failed to delete registry Key: '-2147483646',Section: 'Game"},
        {false, "SOFTWARE\\Classes", "V", 'K', 0, 26001,
         "Failed to delete registry Key: '-2147483646',Section: 'SOFTWARE\\Classes"},
        {false, "Nope", "V", 'D', 0, 26001,
         "Failed to open key '-2147483646',Section: 'Nope' for delete access"},
        {false, "Game", "Gone", 'D', 0, 26001,
         "Failed to delete registry Key: '-2147483646',Section: 'Game',Key: 'Gone"},
        {true, "Game", "V", 'W', REG_SZ, 26001, set + "'V' to value: 'Ann'"},
        {false, "Game", "V", 'W', 0, -2147194455, set + "'V' to value: ''"},
        {false, "Game", "V", 'F', REG_SZ, RegistryError::kWriteFailed,
         set + "'V' to value: 'first'"},
        {false, "Game", std::string(16384, 'v'), 'W', REG_SZ, RegistryError::kWriteFailed,
         set + "'" + std::string(16384, 'v') + "' to value: ''"},
        {false, "Game", "V", 'W', REG_BINARY, 26001, ""},
        {false, "Game", "V", 'A', 0, RegistryError::kBadAssociationList,
         "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
         "Name/Text/Command"},
        {false, "Game", "V", 'N', 0, static_cast<std::int32_t>(0x800469AD),
         "Error - attempt to create additional associations before class defined."},
    };
    for (const Case& c : cases) {
        TempStore store;
        if (c.garbageStore) {
            std::ofstream(store.Path(), std::ios::binary) << std::string(3000, '\x5a');
        } else {
            ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, "Game\\Level", "V", {REG_SZ, Sz("x")}));
        }
        clsRegistry registry = At(c.section, c.value);
        registry.ValueType(c.valueType);
        try {
            switch (c.call) {
            case 'C':
                registry.CreateKey();
                break;
            case 'K':
                registry.DeleteKey();
                break;
            case 'D':
                registry.DeleteValue();
                break;
            case 'F':
                registry.Value(std::string("first"));
                registry.ValueType(REG_MULTI_SZ);
                [[fallthrough]];
            case 'W':
                registry.Value(std::string("Ann"));
                break;
            default:
                registry.CreateAdditionalEXEAssociations(
                    c.call == 'A' ? "Game" : "Nope",
                    std::vector<Variant>(c.call == 'A' ? 4 : 3, std::int32_t{1}));
            }
            ADD_FAILURE() << "nothing raised for " << c.description;
        } catch (const RegistryError& error) {
            EXPECT_EQ(error.Number(), c.number);
            EXPECT_EQ(error.Source(), "clsRegistry.clsRegistry");
            EXPECT_EQ(error.Description(), c.description);
        }
    }
}

// Names match without regard to case and keep their first spelling; HKEY_CLASSES_ROOT is
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
TEST(clsRegistry, KeysAreCreatedFoundAndDeletedWhateverTheirCase) {
    TempStore store;
    clsRegistry registry = At("Game\\Level");
    EXPECT_FALSE(registry.KeyExists());
    EXPECT_TRUE(registry.CreateKey());
    registry.SectionKey("GAME\\level\\");
    EXPECT_TRUE(registry.KeyExists());
    registry.ValueType(REG_SZ);
    registry.Value(std::string("x"));
    EXPECT_TRUE(registry.DeleteValue());
    EXPECT_FALSE(GetValue(HKEY_LOCAL_MACHINE, "Game\\Level", "V"));
    EXPECT_TRUE(registry.DeleteKey());
    EXPECT_FALSE(registry.KeyExists());
    registry.SectionKey("Game");
    EXPECT_TRUE(registry.KeyExists());
    for (const char* bad : {"\\Game", "Game\\\\Level", ""}) {
        registry.ClassKey(bad[0] != '\0' ? kMachine : 0x12345);
        registry.SectionKey(bad);
        EXPECT_FALSE(registry.KeyExists()) << bad;
    }
    registry.ClassKey(static_cast<std::int32_t>(HKEY_CLASSES_ROOT));
    registry.SectionKey(".vnt");
    registry.CreateKey();
    registry.ClassKey(kMachine);
    registry.SectionKey("Software\\classes\\.VNT");
    EXPECT_TRUE(registry.KeyExists());
}

TEST(clsRegistry, EnumerationsListNamesOrEmptyListsForAMissingKey) {
    TempStore store;
    for (const char* name : {"Alpha", "b", "", "ALPHA"}) {
        ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, "Game", name, {REG_SZ, Sz(name)}));
    }
    for (const char* sub : {"Game\\zeta", "Game\\Beta", "Game\\alpha", "GAME\\ALPHA"}) {
        ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, sub, "", {REG_SZ, Sz("")}));
    }
    ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, "Game\\" + std::string(255, 'z'), "", {}));
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
    EXPECT_EQ(At("Game", "alpha").Value(), Variant{std::string("ALPHA")});
}

TEST(clsRegistry, FileTypeAssociationsWriteTheClassesTree) {
    TempStore store;
    clsRegistry registry;
    registry.CreateEXEAssociation("  C:\\Games\\varnoth.exe ", "Varnoth.Replay", "Varnoth replay",
                                  "vrp", "", true, "", true, "Make", true, "", 2);
    // The class is looked for under ClassKey, which the association left at HKLM.
    registry.ClassKey(static_cast<std::int32_t>(HKEY_CLASSES_ROOT));
    registry.CreateAdditionalEXEAssociations(
        "Varnoth.Replay", {std::string("play"), std::string("&Play"), std::string("run %1"),
                           std::string("edit"), std::string("&Edit"), std::int32_t{5}});
    for (const char* path : {"\"half.exe", "tail.exe\""}) {
        registry.CreateEXEAssociation(path, path, "", "x", "Go", false, "", false, "", false, "",
                                      -1);
    }
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
        {"\"half.exe\\shell\\open\\command", "\"half.exe\" \"%1\""},
        {"tail.exe\"\\shell\\open\\command", "\"tail.exe\" \"%1\""},
    };
    for (const auto& [key, text] : entries) {
        EXPECT_EQ(GetValue(HKEY_CLASSES_ROOT, key, ""), (RawValue{REG_SZ, Sz(text)})) << key;
    }
    EXPECT_FALSE(GetValue(HKEY_CLASSES_ROOT, "tail.exe\"\\DefaultIcon", ""));
    EXPECT_EQ(registry.ClassKey(), kMachine);
    EXPECT_EQ(registry.SectionKey(), "tail.exe\"\\shell\\open\\command");
}
