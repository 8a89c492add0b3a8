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

// One call for each kind of value a Variant holds.
template <typename... Call> struct Overloaded : Call... { using Call::operator()...; };
// Clang before 17 deduces no aggregate's arguments by itself.
template <typename... Call> Overloaded(Call...) -> Overloaded<Call...>;

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
    return std::visit(
        Overloaded{[](std::monostate) { return std::string(); },
                   [](const std::string& text) { return text; },
                   [](const ByteArray& bytes) { return std::string(bytes.begin(), bytes.end()); },
                   [](double number) { return doubleToString(number); },
                   [](auto integer) { return std::to_string(integer); }},
        value);
}

double variantToDouble(const Variant& value) {
    return std::visit(Overloaded{[](std::monostate) { return 0.0; },
                                 [](const std::string& text) { return stringToDouble(text); },
                                 [](const ByteArray&) -> double {
                                     throw ConversionError(ConversionError::kTypeMismatch);
                                 },
                                 [](auto number) { return static_cast<double>(number); }},
                      value);
}
