#include "StoreProbe.h"

#include "registry/KeyHandle.h"
#include "registry/RegistryApi.h"

#include <fstream>
#include <iterator>

using namespace reg;

LSTATUS PutValue(HKEY root, const char* key, const char* name, const RawValue& value) {
    KeyHandle handle;
    if (const LSTATUS status = RegCreateKeyEx(root, key, KEY_ALL_ACCESS, handle.Out(), nullptr);
        status != ERROR_SUCCESS) {
        return status;
    }
    return RegSetValueEx(handle.Get(), name, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
}

std::optional<RawValue> GetValue(HKEY root, const char* key, const char* name) {
    KeyHandle handle;
    if (RegOpenKeyEx(root, key, KEY_QUERY_VALUE, handle.Out()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RawValue value;
    DWORD size = 0;
    if (RegQueryValueEx(handle.Get(), name, &value.type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (RegQueryValueEx(handle.Get(), name, &value.type, value.data.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
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
