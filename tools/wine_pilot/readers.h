// What the pilot reads back after a run, through the system's own
// interfaces: shell links through the shell's IShellLinkA, registry values
// through the registry API.
#pragma once

#include <windows.h>

#include <string>

#include "json.h"

namespace pilot {

// One link file: target path, arguments, description, working folder,
// icon location, hot key, and the show command stored in the file (Wine
// answers GetShowCmd after Load with 1 whatever the file holds). COM is
// initialised for the call only: its apartment window must not outlive it.
Json ReadShellLink(const std::wstring& path);

// Every "*.lnk" file of a folder, by name.
Json ReadShellLinks(const std::wstring& folder);

// One value: {"type": REG_..., "data": ...}, or {"missing": "key"|"value"}.
// root is HKLM, HKCU or HKCR; an empty value name reads the default value.
Json ReadRegistryValue(const std::string& root, const std::wstring& key, const std::wstring& value);

// The names of a key's subkeys.
Json ReadRegistrySubkeys(const std::string& root, const std::wstring& key);

}  // namespace pilot
