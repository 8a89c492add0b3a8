#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

using ByteArray = std::vector<std::uint8_t>;

// What clsRegistry reads and writes: Empty (std::monostate), a 16-bit Integer, a 32-bit Long, a
// Double, a String, or an array of bytes. Strings hold UTF-8 bytes: that is the 8-bit text the
// store keeps, and the game's names cross into it unchanged.
using Variant =
    std::variant<std::monostate, std::int16_t, std::int32_t, double, std::string, ByteArray>;

bool isEmpty(const Variant& value);

// The text of a value, as the game's language converts one: Empty is "", numbers in the C
// locale (a Double with up to 15 significant digits), a byte array its bytes taken as text.
std::string variantToString(const Variant& value);

// The number in a value. Empty is 0; a string must hold a decimal number, with blanks around
// it allowed. Throws ConversionError: type mismatch for other text and byte arrays, overflow
// for text beyond the range of a Double.
double variantToDouble(const Variant& value);
