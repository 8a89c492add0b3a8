#include "RegistryModel.h"

#include "registry/KeyPath.h"

#include <algorithm>

using namespace reg;

RegistryModel::RegistryModel() {
    for (const HKEY root :
         {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG}) {
        roots_[root] = std::make_unique<Node>(Node{"", true, {}, {}});
    }
    auto& software = roots_[HKEY_LOCAL_MACHINE]->children["SOFTWARE"];
    software = std::make_unique<Node>(Node{"SOFTWARE", true, {}, {}});
    auto& classes = software->children["CLASSES"];
    classes = std::make_unique<Node>(Node{"Classes", true, {}, {}});
    classes_ = classes.get();
}

RegistryModel::Node* RegistryModel::Find(HKEY root, const Path& path) {
    Node* node = root == HKEY_CLASSES_ROOT ? classes_ : roots_.at(root).get();
    for (const std::string& part : path) {
        const auto child = node->children.find(FoldName(part));
        if (child == node->children.end()) {
            return nullptr;
        }
        node = child->second.get();
    }
    return node;
}

RegistryModel::Values::iterator RegistryModel::FindValue(Node& node, const std::string& name) {
    return std::find_if(node.values.begin(), node.values.end(),
                        [&](const auto& value) { return FoldName(value.first) == FoldName(name); });
}

LSTATUS RegistryModel::CreateKey(HKEY root, const Path& path, DWORD& disposition) {
    disposition = REG_OPENED_EXISTING_KEY;
    Node* node = Find(root, {});
    for (const std::string& part : path) {
        auto& child = node->children[FoldName(part)];
        if (!child) {
            child = std::make_unique<Node>(Node{part, false, {}, {}});
            disposition = REG_CREATED_NEW_KEY;
        }
        node = child.get();
    }
    return ERROR_SUCCESS;
}

bool RegistryModel::KeyExists(HKEY root, const Path& path) {
    return Find(root, path) != nullptr;
}

LSTATUS RegistryModel::DeleteKey(HKEY root, const Path& path) {
    Node* node = Find(root, path);
    if (node == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (node->permanent || !node->children.empty()) {
        return ERROR_ACCESS_DENIED;
    }
    Find(root, Path(path.begin(), path.end() - 1))->children.erase(FoldName(path.back()));
    return ERROR_SUCCESS;
}

void RegistryModel::SetValue(HKEY root, const Path& path, const std::string& name,
                             const RawValue& value) {
    Node& node = *Find(root, path);
    const auto found = FindValue(node, name);
    if (found == node.values.end()) {
        node.values.emplace_back(name, value);
    } else {
        found->second = value;
    }
}

std::optional<RawValue> RegistryModel::QueryValue(HKEY root, const Path& path,
                                                  const std::string& name) {
    Node& node = *Find(root, path);
    const auto found = FindValue(node, name);
    return found == node.values.end() ? std::nullopt : std::optional(found->second);
}

LSTATUS RegistryModel::DeleteValue(HKEY root, const Path& path, const std::string& name) {
    Node& node = *Find(root, path);
    const auto found = FindValue(node, name);
    if (found == node.values.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    node.values.erase(found);
    return ERROR_SUCCESS;
}

std::vector<std::string> RegistryModel::Subkeys(HKEY root, const Path& path) {
    std::vector<std::string> names;
    for (const auto& [fold, child] : Find(root, path)->children) {
        names.push_back(child->name);
    }
    return names;
}

const RegistryModel::Values& RegistryModel::ValuesOf(HKEY root, const Path& path) {
    return Find(root, path)->values;
}
