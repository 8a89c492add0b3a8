#include "RegistryModel.h"
#include "StoreProbe.h"
#include "TempStore.h"

#include "registry/KeyHandle.h"
#include "registry/RegistryApi.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace reg;

namespace {

// Fixed, so that a failing run repeats exactly.
constexpr std::uint32_t generatorStart = 20240611;
constexpr int kSteps = 1500;

const std::vector<HKEY> kRoots = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT};
// Few names in several spellings, so that paths meet often and case matters; "Software" and
// "CLASSES" lead from HKEY_LOCAL_MACHINE into HKEY_CLASSES_ROOT's key.
const std::vector<std::string> kKeyNames = {"a", "A", "bB", "Bb", "c", "Software", "CLASSES"};
const std::vector<std::string> kValueNames = {"", "v", "V", "w", "Xy"};
const std::vector<DWORD> kTypes = {REG_SZ,   REG_BINARY,   REG_DWORD,
                                   REG_NONE, REG_MULTI_SZ, 0x7FFFFFFF};

std::string Join(const RegistryModel::Path& path) {
    std::string joined;
    for (const std::string& part : path) {
        joined += (joined.empty() ? "" : "\\") + part;
    }
    return joined;
}

struct Listing {
    std::vector<std::string> subkeys;
    RegistryModel::Values values;
};

// Everything the store enumerates of a key, checked against what it says of the key's size.
LSTATUS List(HKEY root, const std::string& path, Listing& listing) {
    KeyHandle key;
    if (const LSTATUS status = RegOpenKeyEx(root, path.c_str(), KEY_ALL_ACCESS, key.Out())) {
        return status;
    }
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, longestData = 0;
    EXPECT_EQ(
        RegQueryInfoKey(key.Get(), &subkeys, &longestSubkey, &values, &longestName, &longestData),
        ERROR_SUCCESS);
    char name[256] = {};
    for (DWORD i = 0; RegEnumKey(key.Get(), i, name, sizeof name) == ERROR_SUCCESS; ++i) {
        listing.subkeys.emplace_back(name);
        EXPECT_LE(listing.subkeys.back().size(), longestSubkey);
    }
    for (DWORD i = 0;; ++i) {
        RawValue value;
        value.data.resize(longestData);
        DWORD nameLength = sizeof name;
        DWORD size = longestData;
        if (RegEnumValue(key.Get(), i, name, &nameLength, &value.type, value.data.data(), &size) !=
            ERROR_SUCCESS) {
            break;
        }
        value.data.resize(size);
        listing.values.emplace_back(std::string(name, nameLength), value);
        EXPECT_LE(nameLength, longestName);
    }
    EXPECT_EQ(listing.subkeys.size(), subkeys);
    EXPECT_EQ(listing.values.size(), values);
    return ERROR_SUCCESS;
}

void CompareTree(RegistryModel& model, HKEY root, const RegistryModel::Path& path) {
    Listing listing;
    ASSERT_EQ(List(root, Join(path), listing), ERROR_SUCCESS) << Join(path);
    ASSERT_EQ(listing.subkeys, model.Subkeys(root, path)) << Join(path);
    ASSERT_EQ(listing.values, model.ValuesOf(root, path)) << Join(path);
    for (const std::string& subkey : listing.subkeys) {
        RegistryModel::Path below = path;
        below.push_back(subkey);
        CompareTree(model, root, below);
    }
}

} // namespace

TEST(RegistryModelTest, LongRandomRunsAgreeWithASimpleModel) {
    TempStore store;
    RegistryModel model;
    std::mt19937 generator(generatorStart);
    const auto pick = [&](const auto& list) { return list[generator() % list.size()]; };
    for (int step = 0; step < kSteps; ++step) {
        const HKEY root = pick(kRoots);
        RegistryModel::Path path(generator() % 4);
        for (std::string& part : path) {
            part = pick(kKeyNames);
        }
        const std::string joined = Join(path);
        const std::string name = pick(kValueNames);
        const unsigned operation = generator() % 8;
        SCOPED_TRACE("step " + std::to_string(step) + ", operation " + std::to_string(operation) +
                     ", key " + std::to_string(root) + "\\" + joined + ", value " + name);
        KeyHandle key;
        if (operation <= 1) {
            DWORD disposition = 0;
            DWORD expected = 0;
            ASSERT_EQ(RegCreateKeyEx(root, joined.c_str(), KEY_ALL_ACCESS, key.Out(), &disposition),
                      model.CreateKey(root, path, expected));
            ASSERT_EQ(disposition, expected);
            continue;
        }
        if (operation == 2) {
            ASSERT_EQ(RegDeleteKey(root, joined.c_str()), model.DeleteKey(root, path));
            continue;
        }
        const LSTATUS opened = RegOpenKeyEx(root, joined.c_str(), KEY_ALL_ACCESS, key.Out());
        ASSERT_EQ(opened == ERROR_SUCCESS, model.KeyExists(root, path));
        if (opened != ERROR_SUCCESS) {
            continue;
        }
        if (operation <= 4) {
            RawValue value{pick(kTypes), std::vector<std::uint8_t>(generator() % 40)};
            for (std::uint8_t& byte : value.data) {
                byte = static_cast<std::uint8_t>(generator());
            }
            ASSERT_EQ(RegSetValueEx(key.Get(), name.c_str(), value.type, value.data.data(),
                                    static_cast<DWORD>(value.data.size())),
                      ERROR_SUCCESS);
            model.SetValue(root, path, name, value);
        } else if (operation == 5) {
            ASSERT_EQ(RegDeleteValue(key.Get(), name.c_str()), model.DeleteValue(root, path, name));
        } else if (operation == 6) {
            ASSERT_EQ(GetValue(root, joined.c_str(), name.c_str()),
                      model.QueryValue(root, path, name));
        } else {
            Listing listing;
            ASSERT_EQ(List(root, joined, listing), ERROR_SUCCESS);
            ASSERT_EQ(listing.subkeys, model.Subkeys(root, path));
            ASSERT_EQ(listing.values, model.ValuesOf(root, path));
        }
    }
    for (const HKEY root : kRoots) {
        CompareTree(model, root, {});
    }
}
