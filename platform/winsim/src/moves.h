// Renames carried out now and renames queued for the next start of
// Windows NT, shared by MoveFileExA and the simulated restart.
#pragma once

#include <string>
#include <vector>

#include "windows.h"

namespace winsim {

// Renames (or moves) a file or folder now, by MoveFileEx's rules: the
// target is replaced only with MOVEFILE_REPLACE_EXISTING, another drive
// only with MOVEFILE_COPY_ALLOWED. ERROR_SUCCESS or the error code.
// `asSystem`: as the system does it while it starts, past access denials
// and read-only attributes.
DWORD MoveNow(const char* source, const char* target, DWORD flags, bool asSystem = false);

// One operation of PendingFileRenameOperations, in the registry's form:
// "\\??\\" + full path; the target empty for a deletion, starting "!" when
// it may be replaced.
struct PendingRename {
    std::string source;
    std::string target;
};

// Appends a rename (target null or empty: a deletion) to the value under
// HKLM\System\CurrentControlSet\Control\Session Manager, through the
// caller's registry rights. ERROR_SUCCESS or the registry's error code.
DWORD QueuePendingRename(const char* source, const char* target, bool replace);

// The queued operations, in order, read past any damage at the value's end.
std::vector<PendingRename> ParsePendingRenames(const std::string& data);

}  // namespace winsim
