#pragma once

#include <QColor>
#include <cstdint>

// Colours travel as the game keeps them: one integer, red + 256 * green + 65536 * blue.
using Colour = std::int32_t;

constexpr Colour RGB(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

inline QColor toQColor(Colour c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

namespace SystemColour {
// The standard scheme's window background, window text and button text.
constexpr Colour WindowBackground = RGB(255, 255, 255);
constexpr Colour WindowText = RGB(0, 0, 0);
constexpr Colour ButtonText = RGB(0, 0, 0);
} // namespace SystemColour
