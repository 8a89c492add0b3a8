#include "StoreProbe.h"

#include <exception>
#include <fstream>
#include <iterator>

bool PutValue(std::uint32_t root, const std::string& key, const std::string& name,
              const RawValue& value) {
    try {
        RegistryStore store(RegistryStore::Kind::Write);
        store.SetValue(store.CreateKey(root, key), name, value.type, value.data);
        store.Commit();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<RawValue> GetValue(std::uint32_t root, const std::string& key,
                                 const std::string& name) {
    RegistryStore store(RegistryStore::Kind::Read);
    const std::optional<RegistryStore::KeyId> found = store.FindKey(root, key);
    return found ? store.GetValue(*found, name) : std::nullopt;
}

std::vector<std::uint8_t> Sz(std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}
