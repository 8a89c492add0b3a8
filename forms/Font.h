#pragma once

#include <QFont>
#include <QString>

// A font as the window's elements name it: face, size in points, bold. The two faces the game
// was drawn with are stood in for by free faces of their metrics, read from fixed files of
// Debian's font packages: "MS Sans Serif" by Wine's face of that name, which is drawn on the
// original's pixel grid, and "Verdana" by DejaVu Sans. Points become pixels at 96 dpi, so text
// measures the same on every machine, at every scale and in every test.
struct Font {
    QString Name = QStringLiteral("MS Sans Serif");
    double Size = 8.25;
    bool Bold = false;

    // The face text is measured in, and drawn in wherever its pixels can stay whole.
    QFont toQFont() const;
    // A face drawn on the pixel grid has no blended pixels to soften it when enlarged: it is
    // drawn at one device pixel to the logical pixel and each pixel enlarged to a square.
    bool onPixelGrid() const;
    // What stands in for a face on the pixel grid where its pixels would be cut into unequal
    // parts, as at 1.5 device pixels to the logical pixel: a smooth face of its size.
    QFont smoothQFont() const;
    bool operator==(const Font&) const = default;
};

namespace Fonts {
// Registers the game's font files; call once after the application object exists.
// Throws std::runtime_error naming the file and its package when one is missing.
void load();
} // namespace Fonts
