#pragma once

#include <string>

namespace reg {

// Where the store file is: $VARNOTH_REGISTRY when set, else varnoth/registry.db in the XDG data
// directory ($XDG_DATA_HOME, or ~/.local/share). Read again at every call, so a test or a
// second store can be chosen without restarting. Throws StoreFailure when there is no home.
std::string StorePath();

} // namespace reg
