#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

// A store of its own for one test case: a new temporary directory, with VARNOTH_REGISTRY
// pointing at "store.db" inside it while the object lives. The directory goes with the object.
class TempStore {
public:
    TempStore() {
        std::string pattern = (std::filesystem::temp_directory_path() / "varnoth-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("no temporary directory");
        }
        directory_ = pattern;
        PointAt(directory_ + "/store.db");
    }
    ~TempStore() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(directory_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(directory_, ignored);
    }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    const std::string& Directory() const { return directory_; }
    const std::string& Path() const { return path_; }
    // Points VARNOTH_REGISTRY somewhere else, e.g. below a file inside Directory().
    void PointAt(const std::string& path) {
        path_ = path;
        setenv("VARNOTH_REGISTRY", path_.c_str(), 1);
    }

private:
    std::string directory_;
    std::string path_;
};
