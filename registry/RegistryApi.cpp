#include "registry/RegistryApi.h"

#include "registry/HandleTable.h"
#include "registry/KeyPath.h"
#include "registry/KeyStore.h"
#include "registry/StoreFailure.h"
#include "registry/StoreFile.h"
#include "registry/StorePath.h"
#include "registry/StoreSchema.h"

#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace reg {

namespace {

// Every call runs its body here, so a failure of the store or of memory becomes its status.
LSTATUS Call(const std::function<LSTATUS()>& body) {
    try {
        return body();
    } catch (const StoreFailure& failure) {
        return failure.Status();
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    }
}

// The key a handle stands for. A predefined root has every right and lives in whichever store
// file is current; an opened key stays in the file it was opened in.
OpenKey Resolve(HKEY handle) {
    if (const std::optional<KeyId> root = StoreSchema::RootKey(handle)) {
        return OpenKey{StorePath(), *root, KEY_ALL_ACCESS};
    }
    if (std::optional<OpenKey> open = HandleTable::Find(handle)) {
        return *open;
    }
    throw StoreFailure(ERROR_INVALID_HANDLE);
}

void Require(const OpenKey& key, REGSAM right) {
    if ((key.access & right) == 0) {
        throw StoreFailure(ERROR_ACCESS_DENIED);
    }
}

std::vector<std::string> SubkeyPath(const char* subKey) {
    std::vector<std::string> parts;
    if (const LSTATUS status = SplitKeyPath(subKey, parts); status != ERROR_SUCCESS) {
        throw StoreFailure(status);
    }
    return parts;
}

std::string ValueName(const char* name) {
    std::string result = name != nullptr ? name : "";
    if (result.size() > kMaxValueNameLength) {
        throw StoreFailure(ERROR_INVALID_PARAMETER);
    }
    return result;
}

LSTATUS CheckKey(KeyStore& store, KeyId key) {
    return store.KeyExists(key) ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

LSTATUS Walk(KeyStore& store, KeyId from, const std::vector<std::string>& parts, KeyId& found) {
    if (const LSTATUS status = CheckKey(store, from); status != ERROR_SUCCESS) {
        return status;
    }
    found = from;
    for (const std::string& part : parts) {
        const std::optional<KeyId> next = store.FindSubkey(found, part);
        if (!next) {
            return ERROR_FILE_NOT_FOUND;
        }
        found = *next;
    }
    return ERROR_SUCCESS;
}

LSTATUS CopyData(const StoredValue& value, DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData) {
    if (lpType != nullptr) {
        *lpType = value.type;
    }
    if (lpcbData == nullptr) {
        return ERROR_SUCCESS;
    }
    const auto size = static_cast<DWORD>(value.data.size());
    if (lpData != nullptr && *lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (lpData != nullptr && size != 0) {
        std::memcpy(lpData, value.data.data(), size);
    }
    *lpcbData = size;
    return ERROR_SUCCESS;
}

void Put(DWORD* target, DWORD count) {
    if (target != nullptr) {
        *target = count;
    }
}

void CopyName(const std::string& name, char* buffer) {
    std::memcpy(buffer, name.c_str(), name.size() + 1);
}

// The enumerations' read: the key must still be there, and an index past the last item is
// ERROR_NO_MORE_ITEMS.
template <typename Item, typename Lookup>
LSTATUS ReadItemAt(const OpenKey& key, Lookup lookup, std::optional<Item>& item) {
    return StoreFile::Read(key.storePath, [&](KeyStore& store) {
        if (const LSTATUS checked = CheckKey(store, key.key); checked != ERROR_SUCCESS) {
            return checked;
        }
        item = lookup(store);
        return item ? ERROR_SUCCESS : ERROR_NO_MORE_ITEMS;
    });
}

} // namespace

LSTATUS RegOpenKeyEx(HKEY hKey, const char* lpSubKey, REGSAM samDesired, HKEY* phkResult) {
    return Call([&] {
        if (phkResult == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        *phkResult = 0;
        const OpenKey from = Resolve(hKey);
        const std::vector<std::string> parts = SubkeyPath(lpSubKey);
        KeyId found = 0;
        const LSTATUS status = StoreFile::Read(
            from.storePath, [&](KeyStore& store) { return Walk(store, from.key, parts, found); });
        if (status == ERROR_SUCCESS) {
            *phkResult = HandleTable::Add(OpenKey{from.storePath, found, samDesired});
        }
        return status;
    });
}

LSTATUS RegCreateKeyEx(HKEY hKey, const char* lpSubKey, REGSAM samDesired, HKEY* phkResult,
                       DWORD* lpdwDisposition) {
    return Call([&] {
        if (phkResult == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        *phkResult = 0;
        const OpenKey from = Resolve(hKey);
        const std::vector<std::string> parts = SubkeyPath(lpSubKey);
        KeyId found = 0;
        DWORD disposition = REG_OPENED_EXISTING_KEY;
        // A key that is there already is only opened, which works in a store that can't be
        // written to.
        LSTATUS status = StoreFile::Read(
            from.storePath, [&](KeyStore& store) { return Walk(store, from.key, parts, found); });
        if (status == ERROR_FILE_NOT_FOUND) {
            Require(from, KEY_CREATE_SUB_KEY);
            status = StoreFile::Write(from.storePath, [&](KeyStore& store) {
                disposition = REG_OPENED_EXISTING_KEY;
                if (const LSTATUS checked = CheckKey(store, from.key); checked != ERROR_SUCCESS) {
                    return checked;
                }
                found = from.key;
                for (const std::string& part : parts) {
                    if (const std::optional<KeyId> next = store.FindSubkey(found, part)) {
                        found = *next;
                    } else {
                        found = store.CreateSubkey(found, part);
                        disposition = REG_CREATED_NEW_KEY;
                    }
                }
                return ERROR_SUCCESS;
            });
        }
        if (status == ERROR_SUCCESS) {
            *phkResult = HandleTable::Add(OpenKey{from.storePath, found, samDesired});
            if (lpdwDisposition != nullptr) {
                *lpdwDisposition = disposition;
            }
        }
        return status;
    });
}

LSTATUS RegCloseKey(HKEY hKey) {
    // Closing a predefined root is allowed and does nothing, as on the game's platform.
    if (StoreSchema::RootKey(hKey)) {
        return ERROR_SUCCESS;
    }
    return HandleTable::Remove(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueEx(HKEY hKey, const char* lpValueName, DWORD* lpType, std::uint8_t* lpData,
                        DWORD* lpcbData) {
    return Call([&] {
        if (lpData != nullptr && lpcbData == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        const OpenKey key = Resolve(hKey);
        Require(key, KEY_QUERY_VALUE);
        const std::string name = ValueName(lpValueName);
        std::optional<StoredValue> value;
        const LSTATUS status = StoreFile::Read(key.storePath, [&](KeyStore& store) {
            if (const LSTATUS checked = CheckKey(store, key.key); checked != ERROR_SUCCESS) {
                return checked;
            }
            value = store.FindValue(key.key, name);
            return value ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
        return status == ERROR_SUCCESS ? CopyData(*value, lpType, lpData, lpcbData) : status;
    });
}

LSTATUS RegSetValueEx(HKEY hKey, const char* lpValueName, DWORD dwType, const std::uint8_t* lpData,
                      DWORD cbData) {
    return Call([&] {
        if (lpData == nullptr && cbData != 0) {
            return ERROR_INVALID_PARAMETER;
        }
        const OpenKey key = Resolve(hKey);
        Require(key, KEY_SET_VALUE);
        const std::string name = ValueName(lpValueName);
        return StoreFile::Write(key.storePath, [&](KeyStore& store) {
            if (const LSTATUS checked = CheckKey(store, key.key); checked != ERROR_SUCCESS) {
                return checked;
            }
            store.SetValue(key.key, name, dwType, std::span(lpData, cbData));
            return ERROR_SUCCESS;
        });
    });
}

LSTATUS RegDeleteKey(HKEY hKey, const char* lpSubKey) {
    return Call([&] {
        const OpenKey from = Resolve(hKey);
        const std::vector<std::string> parts = SubkeyPath(lpSubKey);
        return StoreFile::Write(from.storePath, [&](KeyStore& store) {
            KeyId found = 0;
            if (const LSTATUS status = Walk(store, from.key, parts, found);
                status != ERROR_SUCCESS) {
                return status;
            }
            if (StoreSchema::IsPermanent(found) || store.HasSubkeys(found)) {
                return ERROR_ACCESS_DENIED;
            }
            store.DeleteKey(found);
            return ERROR_SUCCESS;
        });
    });
}

LSTATUS RegDeleteValue(HKEY hKey, const char* lpValueName) {
    return Call([&] {
        const OpenKey key = Resolve(hKey);
        Require(key, KEY_SET_VALUE);
        const std::string name = ValueName(lpValueName);
        return StoreFile::Write(key.storePath, [&](KeyStore& store) {
            if (const LSTATUS checked = CheckKey(store, key.key); checked != ERROR_SUCCESS) {
                return checked;
            }
            return store.DeleteValue(key.key, name) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
        });
    });
}

LSTATUS RegEnumValue(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                     DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData) {
    return Call([&] {
        if (lpValueName == nullptr || lpcchValueName == nullptr ||
            (lpData != nullptr && lpcbData == nullptr)) {
            return ERROR_INVALID_PARAMETER;
        }
        const OpenKey key = Resolve(hKey);
        Require(key, KEY_QUERY_VALUE);
        std::optional<StoredValue> value;
        const LSTATUS status = ReadItemAt(
            key, [&](KeyStore& store) { return store.ValueAt(key.key, dwIndex); }, value);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        if (value->name.size() + 1 > *lpcchValueName) {
            return ERROR_MORE_DATA;
        }
        if (const LSTATUS copied = CopyData(*value, lpType, lpData, lpcbData);
            copied != ERROR_SUCCESS) {
            return copied;
        }
        CopyName(value->name, lpValueName);
        *lpcchValueName = static_cast<DWORD>(value->name.size());
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumKey(HKEY hKey, DWORD dwIndex, char* lpName, DWORD cchName) {
    return Call([&] {
        if (lpName == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        const OpenKey key = Resolve(hKey);
        Require(key, KEY_ENUMERATE_SUB_KEYS);
        std::optional<std::string> name;
        const LSTATUS status = ReadItemAt(
            key, [&](KeyStore& store) { return store.SubkeyName(key.key, dwIndex); }, name);
        if (status != ERROR_SUCCESS) {
            return status;
        }
        if (name->size() + 1 > cchName) {
            return ERROR_MORE_DATA;
        }
        CopyName(*name, lpName);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegQueryInfoKey(HKEY hKey, DWORD* lpcSubKeys, DWORD* lpcbMaxSubKeyLen, DWORD* lpcValues,
                        DWORD* lpcbMaxValueNameLen, DWORD* lpcbMaxValueLen) {
    return Call([&] {
        const OpenKey key = Resolve(hKey);
        Require(key, KEY_QUERY_VALUE);
        KeyInfo info;
        const LSTATUS status = StoreFile::Read(key.storePath, [&](KeyStore& store) {
            if (const LSTATUS checked = CheckKey(store, key.key); checked != ERROR_SUCCESS) {
                return checked;
            }
            info = store.Info(key.key);
            return ERROR_SUCCESS;
        });
        if (status != ERROR_SUCCESS) {
            return status;
        }
        Put(lpcSubKeys, info.subkeys);
        Put(lpcbMaxSubKeyLen, info.longestSubkeyName);
        Put(lpcValues, info.values);
        Put(lpcbMaxValueNameLen, info.longestValueName);
        Put(lpcbMaxValueLen, info.longestValueData);
        return ERROR_SUCCESS;
    });
}

} // namespace reg
