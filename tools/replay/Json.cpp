#include "tools/replay/Json.h"

#include <QList>
#include <array>
#include <charconv>
#include <cstdio>

std::string Json::string(const QString& text) {
    std::string out = "\"";
    for (const char32_t c : text.toUcs4()) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                std::array<char, 8> escaped{};
                std::snprintf(escaped.data(), escaped.size(), "\\u%04x", static_cast<unsigned>(c));
                out += escaped.data();
            } else {
                out += QString::fromUcs4(&c, 1).toStdString();
            }
        }
    }
    return out + "\"";
}

template <typename Real> static std::string shortest(Real value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string Json::number(double value) {
    return shortest(value);
}
std::string Json::number(float value) {
    return shortest(value);
}
