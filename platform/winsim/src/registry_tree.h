// Inside winsim's registry: the tree of keys under its roots, names compared
// without regard to case, full key names, and the access a test has denied.
// Shared by the Win32 calls, the test API and the REGEDIT4 reader and writer.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "windows.h"
#include "winsim/registry.h"

namespace winsim {
namespace reg {

struct Key {
    std::string name;   // as created; for a root its full name ("HKEY_LOCAL_MACHINE")
    Key* parent = nullptr;
    std::vector<std::shared_ptr<Key>> subKeys;              // in creation order
    std::vector<std::pair<std::string, RegValue>> values;  // in creation order
    bool deleted = false;  // its registry was replaced; open handles see ERROR_KEY_DELETED
};

// The roots, in the order RegSave writes them.
enum Root { kLocalMachine, kCurrentUser, kUsers, kRootCount };
const char* RootName(Root root);

// The roots of the registry of the moment.
Key& RootKey(Root root);

// A set of roots not yet in use: RegLoad fills one and then installs it.
struct Tree {
    std::shared_ptr<Key> roots[kRootCount];
    Tree();
};
// Makes `tree` the registry; every key of the one it replaces is marked deleted.
void InstallTree(Tree tree);

// The key behind a predefined handle (HKEY_CLASSES_ROOT is
// HKEY_LOCAL_MACHINE\Software\Classes, created when missing, as it always
// exists on Windows); nullptr for any other value.
std::shared_ptr<Key> PredefinedKey(HKEY handle);

// A full key name taken apart: its root and the levels below it, with
// HKEY_CLASSES_ROOT turned into its HKEY_LOCAL_MACHINE form. Short root
// names (HKLM, HKCU, HKCR, HKU) only with `allowShort`. False when the root
// is unknown or a level is empty.
bool ParseKeyName(const std::string& fullName, bool allowShort, Root* root,
                  std::vector<std::string>* levels);

// Names of keys and values compare without regard to case, by the machine's
// code page.
bool SameName(const std::string& a, const std::string& b);
std::u16string NameKey(const std::string& name);  // the upper-case form compared
// Order of sub-keys in saved files: by upper-case name, then by the bytes.
bool NameLess(const std::string& a, const std::string& b);

Key* FindSubKey(Key& parent, const std::string& name);
Key& AddSubKey(Key& parent, const std::string& name);
// The sub-key of that name, created when missing.
Key& SubKey(Key& parent, const std::string& name);
std::shared_ptr<Key> SharedKey(Key& key);  // the owning pointer of a key

RegValue* FindValue(Key& key, const std::string& name);
// Stores a value; an existing value of that name keeps its stored name.
void SetValue(Key& key, const std::string& name, const RegValue& value);
bool DeleteValue(Key& key, const std::string& name);

// "HKEY_LOCAL_MACHINE\\Software\\X": root and levels as stored.
std::string FullName(const Key& key);

// Access a test has denied (RegDenyAccess), by full key name; the key need
// not exist. kWriteRights are the rights that a write denial refuses.
constexpr REGSAM kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
enum class Denial { None, Write, All };
Denial DenialOf(const std::string& fullName);
void Deny(const std::string& fullName, bool read);
// True when a key of that denial refuses an open asking for `access`.
bool Refuses(Denial denial, REGSAM access);

}  // namespace reg
}  // namespace winsim
