// Files and folders for the checks, made and read through the API itself
// (as the API's own conformance tests do); a fixture that cannot be made
// is a failed check of its own.
#pragma once

#include <string>

#include "contract.h"

namespace contract {

// Writes `content` to a new or emptied file; false (and a failed check
// named "fixture.<path>") when that does not work.
bool PutFile(const std::string& path, const std::string& content);
// Whole content of a file; "<missing>" when it cannot be opened.
std::string FileContent(const std::string& path);
bool FileExists(const std::string& path);    // a file, not a folder
bool FolderExists(const std::string& path);  // a folder
// Makes a folder (and accepts an existing one).
bool PutFolder(const std::string& path);
// Clears the read-only attribute and deletes the file, if any.
void RemoveFile(const std::string& path);

// Closes a handle if it is valid.
void CloseIfOpen(HANDLE handle);

// The disposition constant by name, for check names.
const char* DispositionName(DWORD disposition);

}  // namespace contract
