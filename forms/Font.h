#pragma once

#include <QFont>
#include <QString>

// A font as the window's elements name it: face, size in points, bold. The two faces the game
// was drawn with are stood in for by free faces of nearly their metrics, read from fixed files
// of Debian's font packages: "MS Sans Serif" by Liberation Sans, "Verdana" by DejaVu Sans.
// Points become pixels at 96 dpi, so text measures the same on every machine and in every test.
struct Font {
    QString Name = QStringLiteral("MS Sans Serif");
    double Size = 8.25;
    bool Bold = false;

    QFont toQFont() const;
    bool operator==(const Font&) const = default;
};

namespace Fonts {
// Registers the game's font files; call once after the application object exists.
// Throws std::runtime_error naming the file and its package when one is missing.
void load();
} // namespace Fonts
