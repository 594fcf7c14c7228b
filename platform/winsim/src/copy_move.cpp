// CopyFileA, MoveFileA and MoveFileExA. A delayed move (Windows NT only)
// is not carried out here but queued for the next start (pending_renames).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "fs_internal.h"
#include "moves.h"
#include "winsim/faults.h"
#include "winsim/machine.h"

#ifndef ERROR_NOT_SAME_DEVICE
#define ERROR_NOT_SAME_DEVICE 17L
#endif

namespace winsim {
namespace {

bool Fail(const char* api) {
    DWORD error;
    if (!ShouldFail(api, &error)) return false;
    SetLastError(error);
    return true;
}

BOOL Refuse(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The host path that a target gets: its folder as stored, its last name
// as given (a rename may change the letter case of a name).
std::string NewHostPath(const fs::Resolved& target) {
    if (target.levels.empty()) return target.host;
    return target.hostParent + "/" + fs::ToHostName(target.levels.back());
}

bool CopyHostFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!in || !out) return false;
    out << in.rdbuf();
    out.close();
    if (!out) return false;
    // The copy keeps the time of the last write, as on Windows.
    struct stat st;
    if (stat(from.c_str(), &st) == 0) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        utimensat(AT_FDCWD, to.c_str(), times, 0);
    }
    return true;
}

// Checks that `target` may be written over or created; the error code
// Windows gives when not.
DWORD TargetRefusal(const fs::Resolved& target, bool asSystem = false) {
    if (target.isRoot || (target.exists && target.isDirectory)) return ERROR_ACCESS_DENIED;
    if (!asSystem && fs::IsDenied(target, false)) return ERROR_ACCESS_DENIED;
    if (target.exists) {
        if (!asSystem && (fs::Attributes(target) & FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
        if (fs::IsOpen(target.host)) return ERROR_SHARING_VIOLATION;
    }
    return ERROR_SUCCESS;
}

}  // namespace

DWORD MoveNow(const char* source, const char* target, DWORD flags, bool asSystem) {
    fs::Resolved from = fs::Resolve(source);
    if (from.error != ERROR_SUCCESS) return from.error;
    if (!from.exists) return ERROR_FILE_NOT_FOUND;
    if (from.isRoot || (!asSystem && fs::IsDenied(from, false))) return ERROR_ACCESS_DENIED;
    if (fs::IsOpen(from.host)) return ERROR_SHARING_VIOLATION;
    fs::Resolved to = fs::Resolve(target);
    if (to.error != ERROR_SUCCESS) return to.error;
    const bool sameFile = to.exists && to.host == from.host;  // a change of letter case only
    if (to.exists && !sameFile) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING)) return ERROR_ALREADY_EXISTS;
        if (from.isDirectory) return ERROR_ACCESS_DENIED;
    }
    if (!sameFile) {
        DWORD refusal = TargetRefusal(to, asSystem);
        if (refusal != ERROR_SUCCESS) return refusal;
    }
    const std::string newHost = NewHostPath(to);
    if (from.root != to.root) {
        if (!(flags & MOVEFILE_COPY_ALLOWED) || from.isDirectory) return ERROR_NOT_SAME_DEVICE;
        if (!CopyHostFile(from.host, newHost)) return ERROR_WRITE_FAULT;
        unlink(from.host.c_str());
    } else {
        if (to.exists && !sameFile && to.host != newHost) unlink(to.host.c_str());
        if (std::rename(from.host.c_str(), newHost.c_str()) != 0) return ERROR_ACCESS_DENIED;
    }
    fs::Resolved moved = to;
    moved.host = newHost;
    fs::MoveAttributes(from, moved);
    fs::NoteWrite(source);
    fs::NoteWrite(target);
    return ERROR_SUCCESS;
}

}  // namespace winsim

extern "C" {

BOOL WINAPI CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists) {
    namespace fs = winsim::fs;
    if (winsim::Fail("CopyFileA")) return FALSE;
    fs::Resolved from = fs::Resolve(existingFileName);
    if (from.error != ERROR_SUCCESS) return winsim::Refuse(from.error);
    if (!from.exists) return winsim::Refuse(ERROR_FILE_NOT_FOUND);
    if (from.isDirectory || fs::IsDenied(from, true)) return winsim::Refuse(ERROR_ACCESS_DENIED);
    if (fs::OpenConflicts(from.host, GENERIC_READ, FILE_SHARE_READ)) return winsim::Refuse(ERROR_SHARING_VIOLATION);
    fs::Resolved to = fs::Resolve(newFileName);
    if (to.error != ERROR_SUCCESS) return winsim::Refuse(to.error);
    if (to.exists && !to.isDirectory) {
        if (failIfExists) return winsim::Refuse(ERROR_FILE_EXISTS);
        // The source is held open for reading while the copy is made.
        if (to.host == from.host) return winsim::Refuse(ERROR_SHARING_VIOLATION);
    }
    DWORD refusal = winsim::TargetRefusal(to);
    if (refusal != ERROR_SUCCESS) return winsim::Refuse(refusal);
    const std::string newHost = to.exists ? to.host : winsim::NewHostPath(to);
    if (!winsim::CopyHostFile(from.host, newHost)) return winsim::Refuse(ERROR_WRITE_FAULT);
    // The copy takes the source's attributes and is marked for archiving.
    fs::Resolved copied = to;
    copied.host = newHost;
    fs::SetAttributes(copied, (fs::Attributes(from) & ~FILE_ATTRIBUTE_NORMAL) | FILE_ATTRIBUTE_ARCHIVE);
    fs::NoteWrite(newFileName);
    return TRUE;
}

BOOL WINAPI MoveFileA(LPCSTR existingFileName, LPCSTR newFileName) {
    if (winsim::Fail("MoveFileA")) return FALSE;
    if (existingFileName == nullptr || newFileName == nullptr) return winsim::Refuse(ERROR_INVALID_PARAMETER);
    DWORD error = winsim::MoveNow(existingFileName, newFileName, MOVEFILE_COPY_ALLOWED);
    return error == ERROR_SUCCESS ? TRUE : winsim::Refuse(error);
}

BOOL WINAPI MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags) {
    if (winsim::Fail("MoveFileExA")) return FALSE;
    // Windows 95 and 98 have only a stub of it.
    if (!winsim::IsNT()) return winsim::Refuse(ERROR_CALL_NOT_IMPLEMENTED);
    if (existingFileName == nullptr) return winsim::Refuse(ERROR_INVALID_PARAMETER);
    DWORD error;
    if (flags & MOVEFILE_DELAY_UNTIL_REBOOT) {
        if (flags & MOVEFILE_COPY_ALLOWED) return winsim::Refuse(ERROR_INVALID_PARAMETER);
        error = winsim::QueuePendingRename(existingFileName, newFileName,
                                           (flags & MOVEFILE_REPLACE_EXISTING) != 0);
    } else {
        if (newFileName == nullptr) return winsim::Refuse(ERROR_INVALID_PARAMETER);
        error = winsim::MoveNow(existingFileName, newFileName, flags);
    }
    return error == ERROR_SUCCESS ? TRUE : winsim::Refuse(error);
}

}  // extern "C"
