#include "replay/ScriptError.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <cstddef>
#include <cstdio>

namespace {

// How many bytes of a well-formed UTF-8 character of at least U+00A0 start at `at`, or 0.
// Character by character, as decoding the whole text would turn each bad byte into U+FFFD
// and lose the byte the message must show.
// Qt's decoder refuses overlong forms, surrogates and what lies beyond U+10FFFF; the C1
// controls U+0080 to U+009F count as none here.
std::size_t characterLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    // A byte order mark is a character like any other here.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    const QString character = decoder(QByteArrayView(text.data() + at, length));
    return !decoder.hasError() && character.toUcs4().value(0) >= 0xa0 ? length : 0;
}

} // namespace

ScriptError::ScriptError(int line, const std::string& message)
    : std::runtime_error("script line " + std::to_string(line) + ": " + printable(message)) {}

ScriptError::ScriptError(const std::string& message) : std::runtime_error(printable(message)) {}

std::string ScriptError::printable(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            shown += "\\\\";
            ++i;
        } else if (c >= 0x20 && c < 0x7f) {
            shown += static_cast<char>(c);
            ++i;
        } else if (const std::size_t length = characterLength(text, i); length > 0) {
            shown.append(text.substr(i, length));
            i += length;
        } else {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            shown += escape;
            ++i;
        }
    }
    return shown;
}
