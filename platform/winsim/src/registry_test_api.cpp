// The registry as a test sets it up and inspects it. Set-up writes as the
// machine's administrator: denials do not apply to it.
#include <stdexcept>

#include "registry_tree.h"
#include "winsim/registry.h"

namespace winsim {
namespace {

using reg::Key;

std::vector<std::string> Levels(const std::string& key, reg::Root* root) {
    std::vector<std::string> levels;
    if (!reg::ParseKeyName(key, true, root, &levels)) {
        throw std::invalid_argument("not a registry key name: " + key);
    }
    return levels;
}

Key& CreatePath(const std::string& key) {
    reg::Root root;
    std::vector<std::string> levels = Levels(key, &root);
    Key* current = &reg::RootKey(root);
    for (const auto& level : levels) current = &reg::SubKey(*current, level);
    return *current;
}

Key* FindPath(const std::string& key) {
    reg::Root root;
    std::vector<std::string> levels = Levels(key, &root);
    Key* current = &reg::RootKey(root);
    for (const auto& level : levels) {
        current = reg::FindSubKey(*current, level);
        if (current == nullptr) return nullptr;
    }
    return current;
}

}  // namespace

void RegSetValue(const std::string& key, const std::string& name, DWORD type,
                 const std::string& data) {
    reg::SetValue(CreatePath(key), name, RegValue{type, data});
}

void RegSetString(const std::string& key, const std::string& name, const std::string& text,
                  DWORD type) {
    RegSetValue(key, name, type, text + '\0');
}

void RegCreateKey(const std::string& key) { CreatePath(key); }

std::optional<RegValue> RegGetValue(const std::string& key, const std::string& name) {
    Key* found = FindPath(key);
    const RegValue* value = found ? reg::FindValue(*found, name) : nullptr;
    if (value == nullptr) return std::nullopt;
    return *value;
}

std::optional<std::string> RegGetString(const std::string& key, const std::string& name) {
    std::optional<RegValue> value = RegGetValue(key, name);
    if (!value) return std::nullopt;
    return value->data.substr(0, value->data.find('\0'));
}

bool RegKeyExists(const std::string& key) { return FindPath(key) != nullptr; }

std::vector<std::string> RegSubKeys(const std::string& key) {
    std::vector<std::string> names;
    if (Key* found = FindPath(key)) {
        for (const auto& sub : found->subKeys) names.push_back(sub->name);
    }
    return names;
}

std::vector<std::string> RegValueNames(const std::string& key) {
    std::vector<std::string> names;
    if (Key* found = FindPath(key)) {
        for (const auto& value : found->values) names.push_back(value.first);
    }
    return names;
}

void RegDenyAccess(const std::string& key, bool read) {
    reg::Root root;
    std::vector<std::string> levels = Levels(key, &root);
    std::string fullName = reg::RootName(root);
    for (const auto& level : levels) fullName += "\\" + level;
    reg::Deny(fullName, read);
}

}  // namespace winsim
