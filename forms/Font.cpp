#include "forms/Font.h"

#include <QFile>
#include <QFontDatabase>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr double kDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;

// One stand-in face: its family, the package that ships it and its files. The files are
// named by path, not looked up by family, so a desktop's own fonts never change the look.
struct Face {
    const char* family;
    const char* package;
    const char* directory;
    const char* regular;
    const char* bold;
};

// Wine's "MS Sans Serif" holds the original's screen strikes: at 8.25 pt its 13-px strike,
// digits 6 px wide, so "99,999" fills the score label exactly, as it did. It has no bold
// and no outlines: bold is struck twice, and Liberation Sans, a narrow grotesque of nearly
// its widths, stands in where its pixels cannot stay whole. DejaVu Sans is a wide humanist
// face of nearly Verdana's widths: "100 of 100 (100%)" in bold is 118 px.
constexpr Face kPixelSansSerif{"MS Sans Serif", "fonts-wine", "/usr/share/wine/fonts/",
                               "ms_sans_serif.ttf", nullptr};
constexpr Face kSmoothSansSerif{"Liberation Sans", "fonts-liberation2",
                                "/usr/share/fonts/truetype/liberation2/",
                                "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"};
constexpr Face kVerdana{"DejaVu Sans", "fonts-dejavu-core", "/usr/share/fonts/truetype/dejavu/",
                        "DejaVuSans.ttf", "DejaVuSans-Bold.ttf"};

int pixelSize(double points) {
    // 8.25 pt is 11 px at 96 dpi; a whole pixel size keeps glyphs on the pixel grid.
    return std::max(1, static_cast<int>(std::lround(points * kDotsPerInch / kPointsPerInch)));
}

QFont smoothFont(const Face& face, double points, bool bold) {
    QFont font(QString::fromLatin1(face.family));
    font.setPixelSize(pixelSize(points));
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    // Whole-pixel advances, as the game's screen fonts had and its labels were sized to,
    // whatever the desktop's own setting.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void addFontFile(const Face& face, const char* file) {
    const QString path = QString::fromLatin1(face.directory) + QString::fromLatin1(file);
    if (!QFile::exists(path) || QFontDatabase::addApplicationFont(path) < 0)
        throw std::runtime_error("cannot load the font " + path.toStdString() +
                                 ": install the package " + face.package);
}

} // namespace

bool Font::onPixelGrid() const {
    return Name != QLatin1String("Verdana");
}

QFont Font::toQFont() const {
    if (!onPixelGrid())
        return smoothFont(kVerdana, Size, Bold);
    QFont font(QString::fromLatin1(kPixelSansSerif.family));
    font.setPixelSize(pixelSize(Size));
    // A character missing from the face comes from another one; without blended pixels it
    // keeps the face's look.
    font.setStyleStrategy(QFont::NoAntialias);
    // Struck twice, one pixel apart, a bold character is a pixel wider: its advance is too.
    if (Bold)
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    return font;
}

QFont Font::smoothQFont() const {
    return smoothFont(onPixelGrid() ? kSmoothSansSerif : kVerdana, Size, Bold);
}

void Fonts::load() {
    for (const Face* face : {&kPixelSansSerif, &kSmoothSansSerif, &kVerdana}) {
        addFontFile(*face, face->regular);
        if (face->bold)
            addFontFile(*face, face->bold);
    }
}
