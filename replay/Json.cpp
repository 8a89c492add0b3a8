#include "replay/Json.h"

#include <QList>
#include <QString>
#include <array>
#include <charconv>
#include <string_view>

namespace {

constexpr char32_t kFirstPrintable = 0x20;

// \u followed by four lower-case hex digits, for a character below U+0020.
std::string unicodeEscape(char32_t c) {
    constexpr std::string_view kHex = "0123456789abcdef";
    return {'\\', 'u', '0', '0', kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
}

template <typename Real> std::string shortest(Real value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

std::string Json::string(const QString& text) {
    std::string out = "\"";
    for (const char32_t c : text.toUcs4()) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < kFirstPrintable) {
            out += unicodeEscape(c);
        } else {
            out += QString::fromUcs4(&c, 1).toStdString();
        }
    }
    return out + "\"";
}

std::string Json::number(double value) {
    return shortest(value);
}

std::string Json::number(float value) {
    return shortest(value);
}
