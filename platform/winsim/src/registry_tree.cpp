// The registry's key tree, its roots and the denied keys.
#include "registry_tree.h"

#include <map>

#include "codepage.h"
#include "winsim/machine.h"

namespace winsim {
namespace reg {
namespace {

const char* const kRootNames[kRootCount] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER",
                                            "HKEY_USERS"};

struct RootAlias {
    const char* name;
    bool isShort;
    Root root;
    bool classes;  // HKEY_CLASSES_ROOT: below HKEY_LOCAL_MACHINE\Software\Classes
};
const RootAlias kAliases[] = {
    {"HKEY_LOCAL_MACHINE", false, kLocalMachine, false},
    {"HKEY_CURRENT_USER", false, kCurrentUser, false},
    {"HKEY_USERS", false, kUsers, false},
    {"HKEY_CLASSES_ROOT", false, kLocalMachine, true},
    {"HKLM", true, kLocalMachine, false},
    {"HKCU", true, kCurrentUser, false},
    {"HKU", true, kUsers, false},
    {"HKCR", true, kLocalMachine, true},
};

Tree g_tree;
std::map<std::u16string, bool> g_denied;  // NameKey of the full name -> read denied too

void MarkDeleted(Key& key) {
    key.deleted = true;
    for (auto& sub : key.subKeys) MarkDeleted(*sub);
}

ResetHook g_reset([] {
    InstallTree(Tree());
    g_denied.clear();
});

}  // namespace

Tree::Tree() {
    for (int i = 0; i < kRootCount; ++i) {
        roots[i] = std::make_shared<Key>();
        roots[i]->name = kRootNames[i];
    }
}

const char* RootName(Root root) { return kRootNames[root]; }

Key& RootKey(Root root) { return *g_tree.roots[root]; }

void InstallTree(Tree tree) {
    for (auto& root : g_tree.roots) MarkDeleted(*root);
    g_tree = std::move(tree);
}

std::shared_ptr<Key> PredefinedKey(HKEY handle) {
    if (handle == HKEY_LOCAL_MACHINE) return g_tree.roots[kLocalMachine];
    if (handle == HKEY_CURRENT_USER) return g_tree.roots[kCurrentUser];
    if (handle == HKEY_USERS) return g_tree.roots[kUsers];
    if (handle == HKEY_CLASSES_ROOT) {
        Key& classes = SubKey(SubKey(RootKey(kLocalMachine), "Software"), "Classes");
        return SharedKey(classes);
    }
    return nullptr;
}

bool ParseKeyName(const std::string& fullName, bool allowShort, Root* root,
                  std::vector<std::string>* levels) {
    size_t end = fullName.find('\\');
    std::string rootName = fullName.substr(0, end);
    const RootAlias* alias = nullptr;
    for (const auto& a : kAliases) {
        if ((allowShort || !a.isShort) && SameName(rootName, a.name)) alias = &a;
    }
    if (alias == nullptr) return false;
    *root = alias->root;
    levels->clear();
    if (alias->classes) {
        levels->push_back("Software");
        levels->push_back("Classes");
    }
    while (end != std::string::npos) {
        size_t start = end + 1;
        end = fullName.find('\\', start);
        std::string level = fullName.substr(start, end == std::string::npos ? end : end - start);
        if (level.empty()) return false;
        levels->push_back(level);
    }
    return true;
}

std::u16string NameKey(const std::string& name) {
    std::u16string wide = AnsiToUtf16(name, ActiveCodePage());
    for (auto& c : wide) c = UpperWide(c);
    return wide;
}

bool SameName(const std::string& a, const std::string& b) { return NameKey(a) == NameKey(b); }

bool NameLess(const std::string& a, const std::string& b) {
    std::u16string upperA = NameKey(a);
    std::u16string upperB = NameKey(b);
    if (upperA != upperB) return upperA < upperB;
    return a < b;
}

Key* FindSubKey(Key& parent, const std::string& name) {
    for (auto& sub : parent.subKeys) {
        if (SameName(sub->name, name)) return sub.get();
    }
    return nullptr;
}

Key& AddSubKey(Key& parent, const std::string& name) {
    auto key = std::make_shared<Key>();
    key->name = name;
    key->parent = &parent;
    parent.subKeys.push_back(key);
    return *key;
}

Key& SubKey(Key& parent, const std::string& name) {
    Key* found = FindSubKey(parent, name);
    return found != nullptr ? *found : AddSubKey(parent, name);
}

std::shared_ptr<Key> SharedKey(Key& key) {
    if (key.parent == nullptr) {
        for (auto& root : g_tree.roots) {
            if (root.get() == &key) return root;
        }
        return nullptr;
    }
    for (auto& sub : key.parent->subKeys) {
        if (sub.get() == &key) return sub;
    }
    return nullptr;
}

RegValue* FindValue(Key& key, const std::string& name) {
    for (auto& value : key.values) {
        if (SameName(value.first, name)) return &value.second;
    }
    return nullptr;
}

void SetValue(Key& key, const std::string& name, const RegValue& value) {
    RegValue* existing = FindValue(key, name);
    if (existing != nullptr) {
        *existing = value;
    } else {
        key.values.emplace_back(name, value);
    }
}

bool DeleteValue(Key& key, const std::string& name) {
    for (auto it = key.values.begin(); it != key.values.end(); ++it) {
        if (SameName(it->first, name)) {
            key.values.erase(it);
            return true;
        }
    }
    return false;
}

std::string FullName(const Key& key) {
    if (key.parent == nullptr) return key.name;
    return FullName(*key.parent) + "\\" + key.name;
}

Denial DenialOf(const std::string& fullName) {
    auto it = g_denied.find(NameKey(fullName));
    if (it == g_denied.end()) return Denial::None;
    return it->second ? Denial::All : Denial::Write;
}

void Deny(const std::string& fullName, bool read) {
    bool& readDenied = g_denied[NameKey(fullName)];
    readDenied = readDenied || read;
}

bool Refuses(Denial denial, REGSAM access) {
    if (denial == Denial::All) return true;
    return denial == Denial::Write && (access & kWriteRights) != 0;
}

}  // namespace reg
}  // namespace winsim
