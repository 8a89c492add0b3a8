#pragma once

#include "registry/RegistryTypes.h"

#include <string>
#include <string_view>
#include <vector>

namespace reg {

// The form under which a key or value name is found: ASCII letters upper-cased, every other
// byte as it is. Names are UTF-8, and only the ASCII letters in them match without regard to
// case; "Ä" and "ä" stay two names.
std::string FoldName(std::string_view name);

// Splits a subkey path at its backslashes into parts. Null or "" is the key itself, and one
// trailing backslash is allowed; a leading one or an empty part in between is
// ERROR_BAD_PATHNAME, a part longer than kMaxKeyNameLength ERROR_INVALID_PARAMETER.
LSTATUS SplitKeyPath(const char* subKey, std::vector<std::string>& parts);

} // namespace reg
