#include "forms/Conversions.h"

#include <QLocale>
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

// Half away from zero, as the number patterns show a value.
// Adding 0.0 turns a rounded -0 into 0, which shows without a sign.
double roundHalfUp(double value) {
    return std::round(value) + 0.0;
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
