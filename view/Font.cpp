#include "view/Font.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QResource>
#include <cmath>
#include <stdexcept>

namespace {
constexpr double kDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;
const QString kFamily = QStringLiteral("DejaVu Sans");
} // namespace

QFont Font::toQFont() const {
    QFont font(kFamily);
    // 8.25 pt is 11 px at 96 dpi; a whole pixel size keeps glyphs on the pixel grid.
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(Size * kDotsPerInch / kPointsPerInch))));
    font.setBold(Bold);
    font.setStyleStrategy(QFont::PreferDefault);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void Fonts::load() {
    for (const char* file : {":/fonts/DejaVuSans.ttf", ":/fonts/DejaVuSans-Bold.ttf"}) {
        // The fonts are kept uncompressed in the program and handed over where they lie: a
        // copy touches every page of them, which cost about 5 ms of start-up.
        const QResource resource(QString::fromLatin1(file));
        const QByteArray data =
            resource.compressionAlgorithm() == QResource::NoCompression
                ? QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                          static_cast<qsizetype>(resource.size()))
                : resource.uncompressedData();
        if (data.isEmpty() || QFontDatabase::addApplicationFontFromData(data) < 0)
            throw std::runtime_error(std::string("cannot load the bundled font ") + file);
    }
}
