#pragma once

#include <cstdint>

// The numbers clsRegistry's callers pass: the predefined root keys (ClassKey) and the value
// types (ValueType), as on the platform the game was written for.
namespace reg {

constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000;
constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001;
constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002;
constexpr std::uint32_t HKEY_USERS = 0x80000003;
constexpr std::uint32_t HKEY_CURRENT_CONFIG = 0x80000005;

constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_DWORD_BIG_ENDIAN = 5;
constexpr std::uint32_t REG_MULTI_SZ = 7;

} // namespace reg
