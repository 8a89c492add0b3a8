#pragma once

#include "registry/RegistryTypes.h"

namespace reg {

// Replaces every %NAME% whose NAME is set in the environment by its value; a name that is not
// set, an empty name ("%%") and a lone percent sign stay as they are. Returns the size the
// result needs in bytes with its NUL, and fills lpDst only when nSize is at least that, so the
// caller asks with no buffer first and then again with one of the size it was told.
DWORD ExpandEnvironmentStrings(const char* lpSrc, char* lpDst, DWORD nSize);

} // namespace reg
