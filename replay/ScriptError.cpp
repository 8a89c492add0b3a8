#include "replay/ScriptError.h"

#include <cstddef>
#include <cstdio>

namespace {

// How many bytes of a well-formed UTF-8 character of at least U+00A0 start at `at`, or 0:
// overlong forms, surrogates and the C1 controls U+0080 to U+009F count as none.
std::size_t characterLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0U;
    };
    const auto follows = [&](std::size_t i, unsigned low = 0x80, unsigned high = 0xbf) {
        return byte(i) >= low && byte(i) <= high;
    };
    const unsigned lead = byte(0);
    if (lead == 0xc2)
        return follows(1, 0xa0) ? 2 : 0;
    if (lead >= 0xc3 && lead <= 0xdf)
        return follows(1) ? 2 : 0;
    if (lead >= 0xe0 && lead <= 0xef) {
        const bool second = lead == 0xe0   ? follows(1, 0xa0)
                            : lead == 0xed ? follows(1, 0x80, 0x9f)
                                           : follows(1);
        return second && follows(2) ? 3 : 0;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        const bool second = lead == 0xf0   ? follows(1, 0x90)
                            : lead == 0xf4 ? follows(1, 0x80, 0x8f)
                                           : follows(1);
        return second && follows(2) && follows(3) ? 4 : 0;
    }
    return 0;
}

} // namespace

ScriptError::ScriptError(int line, const std::string& message)
    : std::runtime_error("script line " + std::to_string(line) + ": " + Printable(message)) {}

ScriptError::ScriptError(const std::string& message) : std::runtime_error(Printable(message)) {}

std::string ScriptError::Printable(std::string_view text) {
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
