#pragma once

#include <string>

// A store of its own for one test case: a new temporary directory, with VARNOTH_REGISTRY
// pointing at "store.db" inside it while the object lives. The directory goes with the object.
class TempStore {
public:
    TempStore();
    ~TempStore();
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    const std::string& Directory() const { return directory_; }
    const std::string& Path() const { return path_; }
    // Points VARNOTH_REGISTRY somewhere else, e.g. below a file inside Directory().
    void PointAt(const std::string& path);

private:
    std::string directory_;
    std::string path_;
};
