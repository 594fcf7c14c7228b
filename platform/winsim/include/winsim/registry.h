// The simulated registry as a test sets it up and inspects it. Keys are
// named in full from their root ("HKEY_LOCAL_MACHINE\\Software\\...", also
// HKLM, HKCU, HKCR, HKEY_USERS and HKU); HKEY_CLASSES_ROOT is a view of
// HKEY_LOCAL_MACHINE\\Software\\Classes, as on Windows. A name with an
// unknown root or an empty level throws std::invalid_argument.
//
// Keys and values are found without regard to case and keep the name they
// were created with. Set-up through this API is not subject to denials. Key
// names have no length limit here (Windows documents 255 characters), so
// that tests can watch what a caller does with longer ones.
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
// Names as stored, in the order of creation; empty when the key is missing.
std::vector<std::string> RegSubKeys(const std::string& key);
std::vector<std::string> RegValueNames(const std::string& key);

// Access control: the key refuses KEY_WRITE access (opens and creates that ask
// for KEY_SET_VALUE or KEY_CREATE_SUB_KEY fail with ERROR_ACCESS_DENIED, and
// so does creating a key below it); with `read` it refuses every open. The
// denial goes with the name: the key need not exist yet, and RegLoad keeps it.
void RegDenyAccess(const std::string& key, bool read = false);

// REGEDIT4 text, the machine's ANSI bytes as they are. Load replaces the
// whole registry (handles still open on the old one then get
// ERROR_KEY_DELETED); false and "line N: reason" on a malformed file, the
// registry then unchanged. Save writes CR LF lines; roots in the order
// HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS; sub-keys sorted by name
// without regard to case; values in the order they were first set; a value
// that the string or dword forms would not give back byte for byte in hex.
// What Save writes, Load reads back to the same text.
bool RegLoad(const std::string& regedit4, std::string* error);
std::string RegSave();

// Key handles that are open (predefined roots not counted).
int OpenKeyHandleCount();

}  // namespace winsim
