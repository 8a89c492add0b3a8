#include "TempStore.h"

#include "registry/RegistryError.h"
#include "registry/RegistryTypes.h"
#include "registry/clsRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace reg;

namespace {

// One call of the class, its settings made first.
struct Step {
    std::uint32_t root = HKEY_LOCAL_MACHINE;
    std::string key = "Game";
    std::string name = "V";
    std::int32_t type = REG_SZ;
    // E exists, C create, K delete key, D delete value: each "yes" or "no". R read: the value
    // read and ValueType after; W writes `put` first, P puts `raw` as another program would. V,
    // S enumerate values, sections: the count and names. X associates a file type with a
    // program; A, N add an Edit verb to it, with a fourth item too many or as they should.
    char call = 'R';
    Variant put = std::string("Ann");
    RawValue raw = {};
    std::string is; // the outcome
};

// What a call gives, in one line: its result, or the number and description of its error.
std::string outcome(clsRegistry& registry, const Step& step) try {
    std::vector<std::string> names = {"stale"};
    std::int32_t count = -1;
    switch (step.call) {
    case 'E':
        return registry.KeyExists() ? "yes" : "no";
    case 'C':
        return registry.CreateKey() ? "yes" : "no";
    case 'K':
        return registry.DeleteKey() ? "yes" : "no";
    case 'D':
        return registry.DeleteValue() ? "yes" : "no";
    case 'W':
    case 'P':
        step.call == 'W' ? registry.Value(step.put)
                         : putValue(step.root, step.key, step.name, step.raw);
        [[fallthrough]];
    case 'R': {
        // The kind is the Variant's index: 0 Empty, 1 Integer, 2 Long, 4 String, 5 bytes.
        const Variant read = registry.Value();
        return std::to_string(read.index()) + ":" + variantToString(read) + " " +
               std::to_string(registry.ValueType());
    }
    case 'X':
        registry.CreateEXEAssociation(" /g/vt ", step.key, "Game", "vgm", "", true, "", false, "",
                                      true, "", 0);
        return "yes";
    case 'A':
    case 'N': {
        std::vector<Variant> items = {std::string("edit"), std::string("&Edit"),
                                      std::string("e %1")};
        if (step.call == 'A')
            items.emplace_back();
        registry.CreateAdditionalEXEAssociations(step.key, items);
        return "yes";
    }
    }
    step.call == 'V' ? registry.EnumerateValues(names, count)
                     : registry.EnumerateSections(names, count);
    std::string list = std::to_string(count);
    for (const std::string& name : names)
        list += "|" + name;
    return list;
} catch (const RegistryError& error) {
    EXPECT_EQ(error.source(), "clsRegistry.clsRegistry");
    return std::to_string(error.number()) + " " + error.description();
}

} // namespace

// Calls on one instance and one store, in order. The write-failure description names the last
// value the instance wrote. Names match without regard to ASCII case and keep their first
// spelling; HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\SOFTWARE\Classes, other roots are apart.
TEST(clsRegistry, CallsGiveWhatTheGameExpects) {
    TempStore store;
    setenv("VARNOTH_PLACE", "C:\\Games", 1);
    unsetenv("NOT_SET");
    for (const char* name : {"Alpha", "b", "", "ALPHA"})
        putValue(HKEY_LOCAL_MACHINE, "Game", name, textValue(name));
    for (const std::string& sub :
         std::vector<std::string>{"zeta", "Beta", "alpha", "ALPHA", std::string(255, 'z')}) {
        putValue(HKEY_LOCAL_MACHINE, "Game\\" + sub, "", {});
    }
    const std::string h = "-2147483646',Section: '";
    const std::string k = "26001 Failed to delete registry Key: '" + h;
    const std::string set = "Failed to set registry value Key: '" + h;
    const std::string bad = "-2147194455 " + set + "Game',Key: 'V' to value: 'Ann'";
    const Step steps[] = {
        {.name = "", .call = 'V', .is = "3|Alpha|b|"},
        {.key = "game", .name = "alpha", .is = "4:ALPHA 1"},
        {.call = 'S', .is = "3|alpha|Beta|zeta"},
        {.key = "Missing", .call = 'V', .is = "0"},
        {.call = 'W', .put = "100%%", .is = "4:100%% 1"},
        {.call = 'W', .put = "%VARNOTH_PLACE%\\x%NOT_SET%", .is = "4:C:\\Games\\x%NOT_SET% 2"},
        {.type = REG_EXPAND_SZ, .call = 'W', .put = "a%b", .is = "4:a%b 1"},
        {.call = 'W', .put = 1e20 / 3, .is = "4:3.33333333333333E+19 1"},
        {.name = std::string(16383, 'n'), .call = 'W', .is = "4:Ann 1"},
        {.name = std::string(16384, 'n'),
         .call = 'W',
         .is =
             "-2147194455 " + set + "Game',Key: '" + std::string(16384, 'n') + "' to value: 'Ann'"},
        {.type = REG_DWORD, .call = 'W', .put = std::int16_t{-2}, .is = "2:-2 4"},
        {.type = REG_DWORD_BIG_ENDIAN, .call = 'W', .put = 0x01020304, .is = "2:16909060 4"},
        {.type = REG_BINARY, .call = 'W', .put = ByteArray{1, 2, 3, 0}, .is = {"5:\1\2\3\0 3", 8}},
        {.name = "N", .type = REG_DWORD, .call = 'W', .put = 1.5, .is = "1:-7 4"},
        {.type = 9, .call = 'P', .raw = {REG_DWORD_BIG_ENDIAN, {1, 2, 3, 4}}, .is = "2:16909060 5"},
        {.call = 'P', .raw = {REG_DWORD, {1, 2, 3, 4, 5}}, .is = "2:0 4"},
        {.call = 'P', .raw = {REG_SZ, {}}, .is = "4: 1"},
        {.call = 'P', .raw = {REG_MULTI_SZ, {'a', 0, 'b', 0, 0}}, .is = {"4:a\0b\0 7", 8}},
        {.call = 'P', .raw = {REG_NONE, {5, 6}}, .is = {"5:\5\6\0 0", 7}},
        {.key = "Game\\Level", .call = 'E', .is = "no"},
        {.key = "Game\\Level", .call = 'C', .is = "yes"},
        {.key = "GAME\\level\\", .call = 'W', .is = "4:Ann 1"},
        {.key = "game\\LEVEL", .name = "v", .call = 'D', .is = "yes"},
        {.key = "game\\LEVEL", .name = "v", .call = 'D', .is = k + "game\\LEVEL',Key: 'v"},
        {.key = "N", .call = 'D', .is = "26001 Failed to open key '" + h + "N' for delete access"},
        {.call = 'K', .is = k + "Game"},
        {.key = "SOFTWARE\\Classes", .call = 'K', .is = k + "SOFTWARE\\Classes"},
        {.key = "GAME\\level", .call = 'K', .is = "yes"},
        {.key = "Game\\Level", .call = 'E', .is = "no"},
        {.key = "\\Game", .call = 'E', .is = "no"},
        {.root = 0x80000003, .key = "", .call = 'E', .is = "yes"},
        {.root = 0x80000004, .key = "", .call = 'E', .is = "no"},
        {.root = 0x80000005, .key = "", .call = 'E', .is = "yes"},
        {.key = "\\X", .call = 'C', .is = "26001 Failed to create registry Key: '\\X"},
        {.key = std::string(256, 'z'),
         .call = 'C',
         .is = "26001 Failed to create registry Key: '" + std::string(256, 'z')},
        {.key = "\\X", .call = 'W', .is = "26001 " + set + "\\X',Key: 'V' to value: 'Ann'"},
        {.type = 0, .call = 'W', .put = "Bo", .is = bad},
        {.type = REG_BINARY, .call = 'W', .is = "26001 "},
        {.call = 'A',
         .is = "-2147194452 Invalid parameter list passed to "
               "CreateAdditionalEXEAssociations - expected Name/Text/Command"},
        {.key = "Nope",
         .call = 'N',
         .is = "-2147194451 Error - attempt to create "
               "additional associations before class defined."},
        {.key = "vg", .call = 'X', .is = "yes"},
        {.root = HKEY_CLASSES_ROOT, .key = "vg", .call = 'N', .is = "yes"},
        {.root = HKEY_CLASSES_ROOT, .key = "vg\\shell\\edit", .name = "", .is = "4:&Edit 1"},
        {.root = HKEY_CLASSES_ROOT,
         .key = "vg\\shell\\edit\\command",
         .name = "",
         .is = "4:e %1 1"},
        {.root = HKEY_CLASSES_ROOT, .key = ".vgm", .name = "", .is = "4:vg 1"},
        {.key = "SOFTWARE\\Classes\\vg\\shell\\open\\command",
         .name = "",
         .is = "4:\"/g/vt\" \"%1\" 1"},
        {.root = HKEY_CLASSES_ROOT, .key = "vg\\shell\\print", .name = "", .is = "4:&Print 1"},
        {.root = HKEY_CLASSES_ROOT, .key = "vg\\shell\\add", .name = "", .is = "4:&Install vgm 1"},
        {.root = HKEY_CLASSES_ROOT,
         .key = "vg\\shell\\add\\command",
         .name = "",
         .is = "4:\"/g/vt\" /a \"%1\" 1"},
        {.root = HKEY_CLASSES_ROOT,
         .key = "vg\\shell\\print\\command",
         .name = "",
         .is = "4:\"/g/vt\" /p \"%1\" 1"},
        {.root = HKEY_CLASSES_ROOT, .key = "vg\\shell\\new", .call = 'E', .is = "no"},
        {.root = HKEY_CLASSES_ROOT, .key = "vg\\DefaultIcon", .name = "", .is = "4:\"/g/vt\",0 1"},
        {.root = HKEY_CLASSES_ROOT, .key = ".vnt", .call = 'C', .is = "yes"},
        {.key = "Software\\classes\\.VNT", .call = 'E', .is = "yes"},
        {.root = HKEY_CURRENT_USER, .key = "Software\\classes\\.VNT", .call = 'E', .is = "no"},
    };
    clsRegistry registry;
    registry.Default(std::int16_t{-7});
    for (const Step& step : steps) {
        registry.ClassKey(static_cast<std::int32_t>(step.root));
        registry.SectionKey(step.key);
        registry.ValueKey(step.name);
        registry.ValueType(step.type);
        EXPECT_EQ(outcome(registry, step), step.is) << step.call << ' ' << step.key;
    }
}
