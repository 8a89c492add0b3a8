#pragma once

#include <QFont>
#include <QString>

// A font as the window's elements name it: face, size in points, bold. The faces the game
// was drawn with do not exist here; every face maps to the bundled DejaVu Sans, and points
// become pixels at 96 dpi, so text measures the same on every machine and in every test.
struct Font {
    QString Name = QStringLiteral("MS Sans Serif");
    double Size = 8.25;
    bool Bold = false;

    QFont toQFont() const;
    bool operator==(const Font&) const = default;
};

namespace Fonts {
// Registers the bundled font files; call once after the application object exists.
// Throws std::runtime_error when a font is missing from the program's resources.
void load();
} // namespace Fonts
