#include "registry/HandleTable.h"

#include <mutex>
#include <unordered_map>
#include <utility>

namespace reg {

namespace {

// Handles count up from 1 and stay below the predefined roots at 0x80000000.
constexpr HKEY kLastHandle = 0x7FFFFFFF;

struct Table {
    std::mutex mutex;
    std::unordered_map<HKEY, OpenKey> keys;
    HKEY next = 1;
};

Table& TheTable() {
    static Table table;
    return table;
}

} // namespace

HKEY HandleTable::Add(OpenKey key) {
    Table& table = TheTable();
    const std::lock_guard lock(table.mutex);
    while (table.keys.contains(table.next)) {
        table.next = table.next == kLastHandle ? 1 : table.next + 1;
    }
    const HKEY handle = table.next;
    table.next = handle == kLastHandle ? 1 : handle + 1;
    table.keys.emplace(handle, std::move(key));
    return handle;
}

std::optional<OpenKey> HandleTable::Find(HKEY handle) {
    Table& table = TheTable();
    const std::lock_guard lock(table.mutex);
    const auto found = table.keys.find(handle);
    if (found == table.keys.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool HandleTable::Remove(HKEY handle) {
    Table& table = TheTable();
    const std::lock_guard lock(table.mutex);
    return table.keys.erase(handle) != 0;
}

} // namespace reg
