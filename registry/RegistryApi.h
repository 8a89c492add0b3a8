#pragma once

#include "registry/RegistryTypes.h"

#include <cstdint>

// The registry calls clsRegistry is written over, with the calling conventions it relies on:
// caller-owned buffers with their sizes in and out, a size query with no buffer, status codes
// instead of exceptions. Every call opens the store file, does its work in one transaction and
// closes the file again, so a handle names a key, not an open file.
namespace reg {

LSTATUS RegOpenKeyEx(HKEY hKey, const char* lpSubKey, REGSAM samDesired, HKEY* phkResult);

// Opens the key, or creates it together with every missing key above it. The disposition tells
// which of the two happened.
LSTATUS RegCreateKeyEx(HKEY hKey, const char* lpSubKey, REGSAM samDesired, HKEY* phkResult,
                       DWORD* lpdwDisposition);

LSTATUS RegCloseKey(HKEY hKey);

// With lpData null only the type and size come back; with a buffer smaller than the value the
// result is ERROR_MORE_DATA and *lpcbData holds the size needed.
LSTATUS RegQueryValueEx(HKEY hKey, const char* lpValueName, DWORD* lpType, std::uint8_t* lpData,
                        DWORD* lpcbData);

LSTATUS RegSetValueEx(HKEY hKey, const char* lpValueName, DWORD dwType, const std::uint8_t* lpData,
                      DWORD cbData);

// Refuses a key that still has subkeys, as the game's platform does.
LSTATUS RegDeleteKey(HKEY hKey, const char* lpSubKey);

LSTATUS RegDeleteValue(HKEY hKey, const char* lpValueName);

// Values come in the order they were first written; *lpcchValueName is the buffer size with
// room for the NUL on the way in and the name length without it on the way out.
LSTATUS RegEnumValue(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName,
                     DWORD* lpType, std::uint8_t* lpData, DWORD* lpcbData);

// Subkeys come sorted by name without regard to case.
LSTATUS RegEnumKey(HKEY hKey, DWORD dwIndex, char* lpName, DWORD cchName);

// Any of the counters may be null. Lengths are in bytes, without a NUL.
LSTATUS RegQueryInfoKey(HKEY hKey, DWORD* lpcSubKeys, DWORD* lpcbMaxSubKeyLen, DWORD* lpcValues,
                        DWORD* lpcbMaxValueNameLen, DWORD* lpcbMaxValueLen);

} // namespace reg
