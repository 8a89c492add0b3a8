#pragma once

#include <cstdint>
#include <stdexcept>

// A value that can't be converted to the kind asked for, with the run-time error numbers of
// the game's language: 13 type mismatch, 6 overflow. Raised by the Variant conversions and by
// the high-score save when a score does not fit a Long.
class ConversionError : public std::runtime_error {
public:
    static constexpr std::int32_t kOverflow = 6;
    static constexpr std::int32_t kTypeMismatch = 13;

    explicit ConversionError(std::int32_t number)
        : std::runtime_error(number == kOverflow ? "Overflow" : "Type mismatch"), number_(number) {}

    std::int32_t number() const { return number_; }

private:
    std::int32_t number_ = 0;
};
