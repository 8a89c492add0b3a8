#include "replay/Json.h"

#include <QString>
#include <array>
#include <charconv>
#include <cstdio>

namespace {

template <typename Real> std::string shortest(Real value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

std::string Json::string(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        if (c.unicode() < 0x20)
            out += QString::asprintf("\\u%04x", c.unicode());
        else
            out += c;
    }
    return (out + u'"').toStdString();
}

std::string Json::number(double value) {
    return shortest(value);
}

std::string Json::number(float value) {
    return shortest(value);
}
