// The simulated machine's disks: drive letters and network shares mapped to
// host folders, Windows paths resolved without regard to case, and the file
// state a test sets or inspects.
#pragma once

#include <string>
#include <vector>

#include "../windows.h"

namespace winsim {

// Maps a drive letter ('C') or a share ("\\\\server\\share") to a host folder.
void MapDrive(char letter, const std::string& hostDir);
void MapShare(const std::string& uncRoot, const std::string& hostDir);

// The host path of a Windows path. Levels that exist are matched without
// regard to case and take their stored case; missing levels keep the case
// given. Empty when the drive or share is not mapped or the name is invalid.
std::string HostPath(const std::string& windowsPath);

bool FileExists(const std::string& windowsPath);  // a file, not a folder
bool DirectoryExists(const std::string& windowsPath);
std::string ReadFile(const std::string& windowsPath);  // whole content; empty when missing
void WriteFile(const std::string& windowsPath, const std::string& content);  // creates folders
void MakeDirectory(const std::string& windowsPath);                          // all levels

// Access control of the simulated disks (the host may run as root, so host
// permissions cannot express it): a denied path refuses every open for
// writing, creation below it and deletion with ERROR_ACCESS_DENIED; with
// `read` also opens for reading.
void DenyAccess(const std::string& windowsPath, bool read = false);

// Handles that the installer left open.
int OpenFileHandleCount();

// Paths of the files created, written or deleted, in the order it happened
// (Windows form, as the caller named them).
const std::vector<std::string>& FileWrites();

}  // namespace winsim
