#include "forms/Conversions.h"

#include <QLocale>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

template <typename Int> Int roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is round-to-nearest-even unless
    // something has changed it; nothing in the game does.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max()))
        throw Overflow();
    return static_cast<Int>(rounded);
}

// A Double as a player reads it: its 15 significant digits. 23 of 40 is 57.49999999999999 %
// in binary, yet reads 57.5 and so shows as 58 once rounded.
double significantDigits(double value) {
    std::array<char, 32> digits{};
    const auto printed = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                       std::chars_format::scientific, 14);
    double read = value;
    std::from_chars(digits.data(), printed.ptr, read);
    return read;
}

// Half away from zero, as the number patterns show a value, of the value as it reads.
// Adding 0.0 turns a rounded -0 into 0, which shows without a sign.
double roundHalfUp(double value) {
    return std::round(significantDigits(value)) + 0.0;
}

} // namespace

std::int32_t CLng(double value) {
    return roundHalfEven<std::int32_t>(value);
}

std::int16_t CInt(double value) {
    return roundHalfEven<std::int16_t>(value);
}

QString Format(double value, const QString& pattern) {
    const double whole = roundHalfUp(value);
    if (pattern == QLatin1String("#,##0")) {
        QLocale locale;
        locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
        return locale.toString(whole, 'f', 0);
    }
    if (pattern == QLatin1String("0"))
        return QString::number(whole, 'f', 0);
    throw std::invalid_argument("unsupported number pattern: " + pattern.toStdString());
}
