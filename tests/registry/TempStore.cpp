#include "TempStore.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

TempStore::TempStore() {
    const std::string pattern =
        (std::filesystem::temp_directory_path() / "varnoth-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("no temporary directory");
    }
    directory_ = name.data();
    PointAt(directory_ + "/store.db");
}

TempStore::~TempStore() {
    std::error_code ignored;
    std::filesystem::permissions(directory_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(directory_, ignored);
}

void TempStore::PointAt(const std::string& path) {
    path_ = path;
    setenv("VARNOTH_REGISTRY", path_.c_str(), 1);
}
