#include "registry/Variant.h"

#include "registry/ConversionError.h"

#include <charconv>
#include <cstdio>
#include <string_view>
#include <system_error>

bool isEmpty(const Variant& value) {
    return std::holds_alternative<std::monostate>(value);
}

namespace {

std::string doubleToString(double number) {
    char text[32] = {};
    std::snprintf(text, sizeof text, "%.15G", number);
    return text;
}

double stringToDouble(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    // from_chars would also take "inf" and "nan", which are no numbers to the game.
    if (text.empty() || !(text.front() == '.' || (text.front() >= '0' && text.front() <= '9')))
        throw ConversionError(ConversionError::kTypeMismatch);
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc::result_out_of_range)
        throw ConversionError(ConversionError::kOverflow);
    if (error != std::errc() || end != text.data() + text.size())
        throw ConversionError(ConversionError::kTypeMismatch);
    return negative ? -number : number;
}

} // namespace

std::string variantToString(const Variant& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* bytes = std::get_if<ByteArray>(&value))
        return std::string(bytes->begin(), bytes->end());
    if (const auto* number = std::get_if<double>(&value))
        return doubleToString(*number);
    if (const auto* integer = std::get_if<std::int16_t>(&value))
        return std::to_string(*integer);
    if (const auto* longInteger = std::get_if<std::int32_t>(&value))
        return std::to_string(*longInteger);
    return std::string();
}

double variantToDouble(const Variant& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return stringToDouble(*text);
    if (std::holds_alternative<ByteArray>(value))
        throw ConversionError(ConversionError::kTypeMismatch);
    if (const auto* number = std::get_if<double>(&value))
        return *number;
    if (const auto* integer = std::get_if<std::int16_t>(&value))
        return *integer;
    if (const auto* longInteger = std::get_if<std::int32_t>(&value))
        return *longInteger;
    return 0;
}
