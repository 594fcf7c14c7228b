// The simulated registry as a test sets it up and inspects it. Keys are
// named in full from their root ("HKEY_LOCAL_MACHINE\\Software\\...", also
// HKLM, HKCU and HKCR); HKEY_CLASSES_ROOT is a view of
// HKEY_LOCAL_MACHINE\\Software\\Classes, as on Windows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "../windows.h"

namespace winsim {

struct RegValue {
    DWORD type = REG_NONE;
    std::string data;  // raw bytes, as RegSetValueExA stored them
};

void RegSetValue(const std::string& key, const std::string& name, DWORD type,
                 const std::string& data);
// A string value stored with its terminating zero.
void RegSetString(const std::string& key, const std::string& name, const std::string& text,
                  DWORD type = REG_SZ);
void RegCreateKey(const std::string& key);
std::optional<RegValue> RegGetValue(const std::string& key, const std::string& name);
// The text of a string value up to its first zero byte; nullopt when missing.
std::optional<std::string> RegGetString(const std::string& key, const std::string& name);
bool RegKeyExists(const std::string& key);
std::vector<std::string> RegSubKeys(const std::string& key);  // names as stored
std::vector<std::string> RegValueNames(const std::string& key);

// Access control: the key refuses KEY_WRITE access (opens and creates that ask
// for it fail with ERROR_ACCESS_DENIED, and so does creating a key below
// it); with `read` it refuses every open.
void RegDenyAccess(const std::string& key, bool read = false);

// REGEDIT4 text: load replaces the whole registry; false and a message on a
// malformed file (the registry is then unchanged).
bool RegLoad(const std::string& regedit4, std::string* error);
std::string RegSave();

// Key handles that are open (predefined roots not counted).
int OpenKeyHandleCount();

}  // namespace winsim
