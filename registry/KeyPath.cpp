#include "registry/KeyPath.h"

namespace reg {

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return folded;
}

LSTATUS SplitKeyPath(const char* subKey, std::vector<std::string>& parts) {
    parts.clear();
    std::string_view path = subKey != nullptr ? subKey : "";
    if (path.ends_with('\\')) {
        path.remove_suffix(1);
    }
    if (path.empty()) {
        return ERROR_SUCCESS;
    }
    while (true) {
        const std::size_t end = path.find('\\');
        const std::string_view part = path.substr(0, end);
        if (part.empty()) {
            return ERROR_BAD_PATHNAME;
        }
        if (part.size() > kMaxKeyNameLength) {
            return ERROR_INVALID_PARAMETER;
        }
        parts.emplace_back(part);
        if (end == std::string_view::npos) {
            return ERROR_SUCCESS;
        }
        path.remove_prefix(end + 1);
    }
}

} // namespace reg
