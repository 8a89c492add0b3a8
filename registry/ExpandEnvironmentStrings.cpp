#include "registry/ExpandEnvironmentStrings.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace reg {

namespace {

std::string Expand(std::string_view source) {
    std::string result;
    std::size_t at = 0;
    while (at < source.size()) {
        const std::size_t open = source.find('%', at);
        if (open == std::string_view::npos) {
            break;
        }
        const std::size_t close = source.find('%', open + 1);
        if (close == std::string_view::npos) {
            break;
        }
        const std::string name(source.substr(open + 1, close - open - 1));
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        result.append(source.substr(at, open - at));
        // An unknown name is copied with both of its percent signs and the search goes on
        // after them, so "%NOT_SET%" and "100%%" come back exactly as written.
        if (value != nullptr) {
            result.append(value);
        } else {
            result.append(source.substr(open, close - open + 1));
        }
        at = close + 1;
    }
    result.append(source.substr(at));
    return result;
}

} // namespace

DWORD ExpandEnvironmentStrings(const char* lpSrc, char* lpDst, DWORD nSize) {
    if (lpSrc == nullptr) {
        return 0;
    }
    const std::string expanded = Expand(lpSrc);
    const auto needed = static_cast<DWORD>(expanded.size() + 1);
    if (lpDst != nullptr && nSize >= needed) {
        std::memcpy(lpDst, expanded.c_str(), needed);
    }
    return needed;
}

} // namespace reg
