#include "forms/Font.h"

#include <QFile>
#include <QFontDatabase>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr double kDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;

// One stand-in face: its family, the package that ships it and its two files. The files
// are named by path, not looked up by family, so a desktop's own fonts never change the look.
struct Face {
    const char* family;
    const char* package;
    const char* directory;
    const char* regular;
    const char* bold;
};

// Liberation Sans is a narrow grotesque whose hinted digits at 11 px are 6 px wide, as those
// of "MS Sans Serif" are: "99,999" fills the score label exactly, as it did. DejaVu Sans is a
// wide humanist face of nearly Verdana's widths: "100 of 100 (100%)" in bold is 118 px.
constexpr Face kSansSerif{"Liberation Sans", "fonts-liberation2",
                          "/usr/share/fonts/truetype/liberation2/", "LiberationSans-Regular.ttf",
                          "LiberationSans-Bold.ttf"};
constexpr Face kVerdana{"DejaVu Sans", "fonts-dejavu-core", "/usr/share/fonts/truetype/dejavu/",
                        "DejaVuSans.ttf", "DejaVuSans-Bold.ttf"};

const Face& faceFor(const QString& name) {
    return name == QLatin1String("Verdana") ? kVerdana : kSansSerif;
}

void addFontFile(const Face& face, const char* file) {
    const QString path = QString::fromLatin1(face.directory) + QString::fromLatin1(file);
    if (!QFile::exists(path) || QFontDatabase::addApplicationFont(path) < 0)
        throw std::runtime_error("cannot load the font " + path.toStdString() +
                                 ": install the package " + face.package);
}

} // namespace

QFont Font::toQFont() const {
    QFont font(QString::fromLatin1(faceFor(Name).family));
    // 8.25 pt is 11 px at 96 dpi; a whole pixel size keeps glyphs on the pixel grid.
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(Size * kDotsPerInch / kPointsPerInch))));
    font.setBold(Bold);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    // Whole-pixel advances, as the game's screen fonts had and its labels were sized to,
    // whatever the desktop's own setting.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void Fonts::load() {
    for (const Face* face : {&kSansSerif, &kVerdana}) {
        addFontFile(*face, face->regular);
        addFontFile(*face, face->bold);
    }
}
