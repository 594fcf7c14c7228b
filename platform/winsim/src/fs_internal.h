// Inside winsim's file system: Windows paths resolved to host paths, file
// attributes and access control, shared by the file, copy, move and
// version-resource calls.
#pragma once

#include <string>
#include <vector>

#include "windows.h"

namespace winsim {
namespace fs {

// A Windows path taken apart and looked up on the host.
struct Resolved {
    DWORD error = ERROR_SUCCESS;  // ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME ... when unusable
    std::string root;             // "C:" or "\\\\SERVER\\SHARE", upper case
    std::vector<std::string> levels;  // the names below the root, as given
    std::string host;             // host path; existing levels in their stored case
    std::string hostParent;       // host path of the parent folder
    bool exists = false;
    bool isDirectory = false;
    bool isRoot = false;

    // Normalised Windows form: root + "\\" + levels, as given.
    std::string windowsPath() const;
    // The same in upper case, a key for tables that ignore case.
    std::string key() const;
};

// Looks a Windows path up. error is set when the root is not mapped, a name
// is invalid, or a folder above the last level is missing.
Resolved Resolve(const char* windowsPath);

// Case-insensitive comparison of two names of one folder, as Windows does.
bool SameName(const std::string& a, const std::string& b);
std::string UpperName(const std::string& name);

// Host names hold the machine's ANSI names as UTF-8.
std::string ToHostName(const std::string& ansi);
std::string FromHostName(const std::string& host);

// The names in a host folder (ANSI form), "." and ".." left out.
std::vector<std::string> ListDirectory(const std::string& hostDir);

// 8.3 names. A name that has the 8.3 form (letter case aside) is its own
// short name; every other name of a folder gets an alias "BASE~N.EXT" the
// first time the folder's short names are asked for, numbered from ~1
// among that folder's names and kept while the name stays.
bool IsShortName(const std::string& name);
std::string ShortName(const std::string& hostDir, const std::string& storedName);
// The stored name in hostDir whose alias is `alias`; empty when none.
std::string FindByShortName(const std::string& hostDir, const std::string& alias);

// Access control: true when a denial covers the path (itself or a folder
// above it).
bool IsDenied(const Resolved& path, bool forRead);

// File attributes kept beside the host file (read-only, hidden, system).
DWORD Attributes(const Resolved& path);
void SetAttributes(const Resolved& path, DWORD attributes);
void ForgetAttributes(const Resolved& path);
void MoveAttributes(const Resolved& from, const Resolved& to);

// True when an open handle of this process holds the file.
bool IsOpen(const std::string& host);
// True when an open handle holds the file in a way that an open with this
// access and sharing conflicts with.
bool OpenConflicts(const std::string& host, DWORD access, DWORD share);
// Closes every file handle, as the end of every process does.
void CloseAllFiles();

// Records a change of a file for FileWrites().
void NoteWrite(const std::string& windowsPath);

// Host-side helpers.
bool HostIsDirectory(const std::string& host);
bool HostIsFile(const std::string& host);

}  // namespace fs
}  // namespace winsim
