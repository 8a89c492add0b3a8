#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// Run-time error 6, "Overflow": a whole number that its type cannot hold, from a conversion
// here or from the game's own arithmetic. The game traps no errors, so it ends the program.
class Overflow : public std::overflow_error {
public:
    static constexpr int Number = 6;
    Overflow() : std::overflow_error("Overflow") {}
};

// The game's number conversions. Turning a floating-point value into a whole number rounds
// half to even (2.5 gives 2), and a value outside the target's range (or no number at all)
// raises Overflow. The number patterns round half up instead (12.5 shows as 13).
std::int32_t CLng(double value);
std::int16_t CInt(double value);

// Formats a number with the pattern "#,##0" (whole number, the default locale's group
// separator) or "0" (whole number, no separator).
QString Format(double value, const QString& pattern);
