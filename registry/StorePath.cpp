#include "registry/StorePath.h"

#include "registry/StoreFailure.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace reg {

namespace {

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeDirectory() {
    std::string home = FromEnvironment("HOME");
    if (home.empty()) {
        const passwd* entry = getpwuid(getuid());
        if (entry != nullptr && entry->pw_dir != nullptr) {
            home = entry->pw_dir;
        }
    }
    if (home.empty()) {
        throw StoreFailure(ERROR_PATH_NOT_FOUND);
    }
    return home;
}

} // namespace

std::string StorePath() {
    std::string path = FromEnvironment("VARNOTH_REGISTRY");
    if (!path.empty()) {
        return path;
    }
    // The XDG rules say to ignore a relative XDG_DATA_HOME.
    std::string dataHome = FromEnvironment("XDG_DATA_HOME");
    if (!dataHome.starts_with('/')) {
        dataHome = HomeDirectory() + "/.local/share";
    }
    return dataHome + "/varnoth/registry.db";
}

} // namespace reg
