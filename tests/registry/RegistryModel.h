#pragma once

#include "StoreProbe.h"

#include "registry/RegistryTypes.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A registry kept in plain maps, following the rules the store has to keep: names match
// without regard to ASCII case and keep their first spelling, values list in writing order and
// subkeys by folded name, keys with subkeys and the permanent keys can't be deleted, and
// HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\SOFTWARE\Classes. The randomized test runs the same
// operations on it and on the store and compares.
class RegistryModel {
public:
    using Path = std::vector<std::string>;
    using Values = std::vector<std::pair<std::string, RawValue>>;

    RegistryModel();

    reg::LSTATUS CreateKey(reg::HKEY root, const Path& path, reg::DWORD& disposition);
    bool KeyExists(reg::HKEY root, const Path& path);
    reg::LSTATUS DeleteKey(reg::HKEY root, const Path& path);
    // The key must exist.
    void SetValue(reg::HKEY root, const Path& path, const std::string& name, const RawValue& value);
    // Nothing when the value is missing; the key must exist.
    std::optional<RawValue> QueryValue(reg::HKEY root, const Path& path, const std::string& name);
    reg::LSTATUS DeleteValue(reg::HKEY root, const Path& path, const std::string& name);
    // Both lists for an existing key, in enumeration order.
    std::vector<std::string> Subkeys(reg::HKEY root, const Path& path);
    const Values& ValuesOf(reg::HKEY root, const Path& path);

private:
    struct Node {
        std::string name;
        bool permanent = false;
        std::map<std::string, std::unique_ptr<Node>> children;
        Values values;
    };
    Node* Find(reg::HKEY root, const Path& path);
    Values::iterator FindValue(Node& node, const std::string& name);

    std::map<reg::HKEY, std::unique_ptr<Node>> roots_;
    Node* classes_ = nullptr;
};
