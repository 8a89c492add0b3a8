#include "StoreProbe.h"
#include "TempStore.h"

#include "registry/ExpandEnvironmentStrings.h"
#include "registry/KeyHandle.h"
#include "registry/RegistryApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace reg;

namespace {

HKEY Open(HKEY root, const char* path, REGSAM access = KEY_ALL_ACCESS) {
    HKEY handle = 0;
    RegOpenKeyEx(root, path, access, &handle);
    return handle;
}

std::vector<std::string> Subkeys(HKEY root, const char* path) {
    KeyHandle key;
    RegOpenKeyEx(root, path, KEY_ENUMERATE_SUB_KEYS, key.Out());
    std::vector<std::string> names;
    char name[256] = {};
    for (DWORD i = 0; RegEnumKey(key.Get(), i, name, sizeof name) == ERROR_SUCCESS; ++i) {
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> ValueNames(HKEY root, const char* path) {
    KeyHandle key;
    RegOpenKeyEx(root, path, KEY_QUERY_VALUE, key.Out());
    std::vector<std::string> names;
    char name[256] = {};
    DWORD length = sizeof name;
    for (DWORD i = 0;
         RegEnumValue(key.Get(), i, name, &length, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name) {
        names.emplace_back(name, length);
    }
    return names;
}

} // namespace

TEST(RegistryLayer, KeyCallsAnswerWithThePlatformsStatusCodes) {
    struct Case {
        const char* what;
        std::function<LSTATUS()> call;
        LSTATUS expected;
    };
    const std::string longName(kMaxKeyNameLength + 1, 'x');
    const std::vector<Case> cases = {
        {"open with nowhere to put the handle",
         [] { return RegOpenKeyEx(HKEY_CURRENT_USER, "Game", 1, nullptr); },
         ERROR_INVALID_PARAMETER},
        {"open in other case", [] { return RegCloseKey(Open(HKEY_CURRENT_USER, "GAME\\level")); },
         ERROR_SUCCESS},
        {"open missing",
         [] {
             HKEY h = 0;
             return RegOpenKeyEx(HKEY_CURRENT_USER, "Game\\Nope", 1, &h);
         },
         ERROR_FILE_NOT_FOUND},
        {"trailing backslash", [] { return RegCloseKey(Open(HKEY_CURRENT_USER, "Game\\")); },
         ERROR_SUCCESS},
        {"leading backslash",
         [] {
             HKEY h = 0;
             return RegOpenKeyEx(HKEY_CURRENT_USER, "\\Game", 1, &h);
         },
         ERROR_BAD_PATHNAME},
        {"empty part",
         [] {
             HKEY h = 0;
             return RegCreateKeyEx(HKEY_CURRENT_USER, "Game\\\\X", KEY_ALL_ACCESS, &h, nullptr);
         },
         ERROR_BAD_PATHNAME},
        {"name too long",
         [&] {
             HKEY h = 0;
             return RegCreateKeyEx(HKEY_CURRENT_USER, longName.c_str(), KEY_ALL_ACCESS, &h,
                                   nullptr);
         },
         ERROR_INVALID_PARAMETER},
        {"unknown root",
         [] {
             HKEY h = 0;
             return RegOpenKeyEx(0x80000004, "Game", 1, &h);
         },
         ERROR_INVALID_HANDLE},
        {"close unknown handle", [] { return RegCloseKey(0x1234567); }, ERROR_INVALID_HANDLE},
        {"close twice",
         [] {
             const HKEY h = Open(HKEY_CURRENT_USER, "Game");
             RegCloseKey(h);
             return RegCloseKey(h);
         },
         ERROR_INVALID_HANDLE},
        {"close a root", [] { return RegCloseKey(HKEY_LOCAL_MACHINE); }, ERROR_SUCCESS},
        {"delete a key with subkeys", [] { return RegDeleteKey(HKEY_CURRENT_USER, "Game"); },
         ERROR_ACCESS_DENIED},
        {"delete a leaf", [] { return RegDeleteKey(HKEY_CURRENT_USER, "game\\LEVEL"); },
         ERROR_SUCCESS},
        {"delete a missing key", [] { return RegDeleteKey(HKEY_CURRENT_USER, "Game\\Nope"); },
         ERROR_FILE_NOT_FOUND},
        {"delete a root", [] { return RegDeleteKey(HKEY_USERS, ""); }, ERROR_ACCESS_DENIED},
        {"delete the classes key",
         [] { return RegDeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes"); }, ERROR_ACCESS_DENIED},
        {"set through a query-only handle",
         [] {
             KeyHandle key;
             RegOpenKeyEx(HKEY_CURRENT_USER, "Game", KEY_QUERY_VALUE, key.Out());
             return RegSetValueEx(key.Get(), "x", REG_SZ, nullptr, 0);
         },
         ERROR_ACCESS_DENIED},
        {"create through a query-only handle",
         [] {
             KeyHandle key, created;
             RegOpenKeyEx(HKEY_CURRENT_USER, "Game", KEY_QUERY_VALUE, key.Out());
             return RegCreateKeyEx(key.Get(), "New", KEY_ALL_ACCESS, created.Out(), nullptr);
         },
         ERROR_ACCESS_DENIED},
        {"list subkeys without the right",
         [] {
             KeyHandle key;
             RegOpenKeyEx(HKEY_CURRENT_USER, "Game", KEY_QUERY_VALUE, key.Out());
             char name[8];
             return RegEnumKey(key.Get(), 0, name, sizeof name);
         },
         ERROR_ACCESS_DENIED},
        {"use a handle to a deleted key",
         [] {
             KeyHandle key;
             RegOpenKeyEx(HKEY_CURRENT_USER, "Game\\Level", KEY_ALL_ACCESS, key.Out());
             RegDeleteKey(HKEY_CURRENT_USER, "Game\\Level");
             DWORD size = 0;
             return RegQueryValueEx(key.Get(), "Name", nullptr, nullptr, &size);
         },
         ERROR_KEY_DELETED},
        {"HKEY_CLASSES_ROOT is SOFTWARE\\Classes",
         [] {
             KeyHandle made;
             RegCreateKeyEx(HKEY_CLASSES_ROOT, ".vnt", KEY_ALL_ACCESS, made.Out(), nullptr);
             return RegCloseKey(Open(HKEY_LOCAL_MACHINE, "Software\\classes\\.VNT"));
         },
         ERROR_SUCCESS},
    };
    for (const Case& c : cases) {
        TempStore store;
        ASSERT_EQ(PutValue(HKEY_CURRENT_USER, "Game\\Level", "Name", {REG_SZ, Sz("x")}), 0);
        EXPECT_EQ(c.call(), c.expected) << c.what;
    }
}

TEST(RegistryLayer, QueryValueTellsTheSizeFirstAndFillsOnlyABufferThatIsBigEnough) {
    struct Case {
        RawValue stored;
        bool withBuffer;
        DWORD bufferSize;
        LSTATUS expected;
        DWORD sizeOut;
    };
    const std::vector<Case> cases = {
        {{REG_DWORD, {1, 2, 3, 4}}, false, 0, ERROR_SUCCESS, 4},
        {{REG_DWORD, {1, 2, 3, 4}}, true, 3, ERROR_MORE_DATA, 4},
        {{REG_DWORD, {1, 2, 3, 4}}, true, 4, ERROR_SUCCESS, 4},
        {{REG_SZ, Sz("Ann")}, true, 64, ERROR_SUCCESS, 4},
        {{REG_BINARY, {}}, false, 0, ERROR_SUCCESS, 0},
        {{0x12345, {9}}, true, 1, ERROR_SUCCESS, 1},
    };
    for (const Case& c : cases) {
        TempStore store;
        ASSERT_EQ(PutValue(HKEY_CURRENT_USER, "K", "v", c.stored), 0);
        KeyHandle key;
        ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "K", KEY_QUERY_VALUE, key.Out()), 0);
        std::vector<std::uint8_t> buffer(c.bufferSize, 0xEE);
        DWORD type = 0;
        DWORD size = c.bufferSize;
        EXPECT_EQ(
            RegQueryValueEx(key.Get(), "V", &type, c.withBuffer ? buffer.data() : nullptr, &size),
            c.expected);
        EXPECT_EQ(type, c.stored.type);
        EXPECT_EQ(size, c.sizeOut);
        if (c.expected == ERROR_SUCCESS && c.withBuffer) {
            EXPECT_TRUE(std::equal(c.stored.data.begin(), c.stored.data.end(), buffer.begin()));
        } else {
            EXPECT_EQ(buffer, std::vector<std::uint8_t>(c.bufferSize, 0xEE));
        }
    }
}

TEST(RegistryLayer, EnumerationKeepsFirstSpellingsValuesInWritingOrderSubkeysSorted) {
    TempStore store;
    for (const char* name : {"beta", "Alpha", "gamma", "ALPHA"}) {
        ASSERT_EQ(PutValue(HKEY_CURRENT_USER, "Game", name, {REG_SZ, Sz(name)}), 0);
        ASSERT_EQ(PutValue(HKEY_CURRENT_USER, (std::string("Game\\") + name).c_str(), nullptr,
                           {REG_SZ, Sz(name)}),
                  0);
    }
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, "game"),
              (std::vector<std::string>{"beta", "Alpha", "gamma"}));
    EXPECT_EQ(GetValue(HKEY_CURRENT_USER, "Game", "alpha")->data, Sz("ALPHA"));
    EXPECT_EQ(Subkeys(HKEY_CURRENT_USER, "Game"),
              (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(Subkeys(HKEY_LOCAL_MACHINE, ""), (std::vector<std::string>{"SOFTWARE"}));

    KeyHandle key;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Game", KEY_ALL_ACCESS, key.Out()), 0);
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, longestData = 0;
    ASSERT_EQ(
        RegQueryInfoKey(key.Get(), &subkeys, &longestSubkey, &values, &longestName, &longestData),
        0);
    EXPECT_EQ((std::vector<DWORD>{subkeys, longestSubkey, values, longestName, longestData}),
              (std::vector<DWORD>{3, 5, 3, 5, 6}));
    char small[5] = {};
    DWORD length = sizeof small;
    EXPECT_EQ(RegEnumValue(key.Get(), 1, small, &length, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(RegEnumKey(key.Get(), 0, small, sizeof small), ERROR_MORE_DATA);
    EXPECT_EQ(RegEnumKey(key.Get(), 3, small, sizeof small), ERROR_NO_MORE_ITEMS);
    length = sizeof small;
    EXPECT_EQ(RegEnumValue(key.Get(), 3, small, &length, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
}

TEST(RegistryLayer, ExpandEnvironmentStringsReplacesOnlyNamesThatAreSet) {
    setenv("VARNOTH_PLACE", "C:\\Games", 1);
    unsetenv("VARNOTH_NOT_SET");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"%VARNOTH_PLACE%\\varnoth.exe", "C:\\Games\\varnoth.exe"},
        {"%VARNOTH_NOT_SET%\\x", "%VARNOTH_NOT_SET%\\x"},
        {"50%", "50%"},
        {"100%%", "100%%"},
        {"%%VARNOTH_PLACE%", "%%VARNOTH_PLACE%"},
        {"%VARNOTH_PLACE%%VARNOTH_PLACE%", "C:\\GamesC:\\Games"},
        {"", ""},
    };
    for (const auto& [source, expected] : cases) {
        const DWORD needed = ExpandEnvironmentStrings(source.c_str(), nullptr, 0);
        EXPECT_EQ(needed, expected.size() + 1) << source;
        std::string tooSmall(needed - 1, '#');
        EXPECT_EQ(ExpandEnvironmentStrings(source.c_str(), tooSmall.data(), needed - 1), needed);
        EXPECT_EQ(tooSmall, std::string(needed - 1, '#')) << source;
        std::vector<char> buffer(needed);
        EXPECT_EQ(ExpandEnvironmentStrings(source.c_str(), buffer.data(), needed), needed);
        EXPECT_EQ(std::string(buffer.data()), expected);
    }
}
