// File handles and the file and folder calls: CreateFileA, ReadFile,
// WriteFile, SetEndOfFile, SetFilePointer, _llseek, CloseHandle,
// CreateDirectoryA, RemoveDirectoryA, DeleteFileA and the attributes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "fs_internal.h"
#include "handles.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"
#include "winsim/machine.h"

namespace winsim {
namespace {

struct OpenFile {
    int fd = -1;
    std::string host;
    std::string windowsPath;
    DWORD access = 0;
    DWORD share = 0;
};

std::map<HANDLE, OpenFile> g_files;

ResetHook g_reset([] {
    for (auto& entry : g_files) close(entry.second.fd);
    g_files.clear();
});

OpenFile* Lookup(HANDLE handle) {
    auto it = g_files.find(handle);
    return it == g_files.end() ? nullptr : &it->second;
}

bool Fail(const char* api) {
    DWORD error;
    if (!ShouldFail(api, &error)) return false;
    SetLastError(error);
    return true;
}

// Another handle of ours holds the file in a way that this open conflicts with.
bool SharingConflict(const std::string& host, DWORD access, DWORD share) {
    for (const auto& entry : g_files) {
        const OpenFile& other = entry.second;
        if (other.host != host) continue;
        if ((access & GENERIC_READ) && !(other.share & FILE_SHARE_READ)) return true;
        if ((access & GENERIC_WRITE) && !(other.share & FILE_SHARE_WRITE)) return true;
        if ((other.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return true;
        if ((other.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return true;
    }
    return false;
}

}  // namespace

namespace fs {
bool IsOpen(const std::string& host) {
    for (const auto& entry : g_files) {
        if (entry.second.host == host) return true;
    }
    return false;
}

bool OpenConflicts(const std::string& host, DWORD access, DWORD share) {
    return SharingConflict(host, access, share);
}

void CloseAllFiles() {
    for (auto& entry : g_files) {
        close(entry.second.fd);
        ReleaseHandle(entry.first);
    }
    g_files.clear();
}
}  // namespace fs

int OpenFileHandleCount() { return static_cast<int>(g_files.size()); }

std::string ReadFile(const std::string& windowsPath) {
    std::string host = HostPath(windowsPath);
    std::ifstream in(host, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void MakeDirectory(const std::string& windowsPath) {
    fs::Resolved r = fs::Resolve(windowsPath.c_str());
    std::string partial = r.root;
    for (const auto& level : r.levels) {
        partial += "\\" + level;
        fs::Resolved step = fs::Resolve(partial.c_str());
        if (!step.exists) mkdir(step.host.c_str(), 0755);
    }
}

void WriteFile(const std::string& windowsPath, const std::string& content) {
    fs::Resolved r = fs::Resolve(windowsPath.c_str());
    std::string parent = r.root;
    for (size_t i = 0; i + 1 < r.levels.size(); ++i) parent += "\\" + r.levels[i];
    MakeDirectory(parent);
    r = fs::Resolve(windowsPath.c_str());
    std::ofstream out(r.host, std::ios::binary | std::ios::trunc);
    out << content;
}

}  // namespace winsim

using winsim::fs::Resolve;
using winsim::fs::Resolved;

extern "C" {

HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                          DWORD disposition, DWORD flags, HANDLE templateFile) {
    (void)security;
    (void)templateFile;
    if (winsim::Fail("CreateFileA")) return INVALID_HANDLE_VALUE;
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
        (disposition == TRUNCATE_EXISTING && !(access & GENERIC_WRITE))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    Resolved r = Resolve(fileName);
    if (r.error != ERROR_SUCCESS) {
        SetLastError(r.error);
        return INVALID_HANDLE_VALUE;
    }
    // CREATE_NEW fails on any existing name, a folder's included.
    if (r.exists && disposition == CREATE_NEW) {
        SetLastError(ERROR_FILE_EXISTS);
        return INVALID_HANDLE_VALUE;
    }
    if (r.isRoot || (r.exists && r.isDirectory)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    const bool writes = (access & GENERIC_WRITE) != 0 || disposition == CREATE_ALWAYS ||
                        disposition == TRUNCATE_EXISTING || (!r.exists && disposition != OPEN_EXISTING);
    if (winsim::fs::IsDenied(r, true) || (writes && winsim::fs::IsDenied(r, false))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (r.exists) {
        if (writes && (winsim::fs::Attributes(r) & FILE_ATTRIBUTE_READONLY)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        if (winsim::SharingConflict(r.host, access, share)) {
            SetLastError(ERROR_SHARING_VIOLATION);
            return INVALID_HANDLE_VALUE;
        }
    } else if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    int mode = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
    if (!r.exists) mode |= O_CREAT;
    if (r.exists && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING)) mode |= O_TRUNC;
    // Opening for neither reading nor writing still needs a host descriptor.
    int fd = open(r.host.c_str(), mode | O_CLOEXEC, 0644);
    if (fd < 0 && (mode & O_ACCMODE) == O_WRONLY) fd = open(r.host.c_str(), (mode & ~O_ACCMODE) | O_RDWR | O_CLOEXEC, 0644);
    if (fd < 0) {
        SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (!r.exists) {
        winsim::fs::SetAttributes(r, flags & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                              FILE_ATTRIBUTE_SYSTEM));
        winsim::fs::NoteWrite(fileName);
    } else if (mode & O_TRUNC) {
        winsim::fs::NoteWrite(fileName);
    }
    HANDLE handle = winsim::NewHandle(winsim::HandleKind::File);
    winsim::g_files[handle] = winsim::OpenFile{fd, r.host, fileName, access, share};
    const bool existed = r.exists && (disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED overlapped) {
    (void)overlapped;
    if (read) *read = 0;
    winsim::OpenFile* file = winsim::Lookup(handle);
    if (file == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (winsim::Fail("ReadFile")) return FALSE;
    if (!(file->access & GENERIC_READ)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    while (total < toRead) {
        ssize_t n = ::read(file->fd, static_cast<char*>(buffer) + total, toRead - total);
        if (n < 0) {
            SetLastError(ERROR_READ_FAULT);
            return FALSE;
        }
        if (n == 0) break;
        total += static_cast<DWORD>(n);
    }
    if (read) *read = total;
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written,
                      LPOVERLAPPED overlapped) {
    (void)overlapped;
    if (written) *written = 0;
    winsim::OpenFile* file = winsim::Lookup(handle);
    if (file == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (winsim::Fail("WriteFile")) return FALSE;
    if (!(file->access & GENERIC_WRITE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    while (total < toWrite) {
        ssize_t n = ::write(file->fd, static_cast<const char*>(buffer) + total, toWrite - total);
        if (n <= 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        total += static_cast<DWORD>(n);
    }
    if (written) *written = total;
    if (toWrite > 0) winsim::fs::NoteWrite(file->windowsPath);
    return TRUE;
}

BOOL WINAPI SetEndOfFile(HANDLE handle) {
    winsim::OpenFile* file = winsim::Lookup(handle);
    if (file == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (winsim::Fail("SetEndOfFile")) return FALSE;
    if (!(file->access & GENERIC_WRITE)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    off_t position = lseek(file->fd, 0, SEEK_CUR);
    if (position < 0 || ftruncate(file->fd, position) != 0) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD method) {
    winsim::OpenFile* file = winsim::Lookup(handle);
    if (file == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    long long offset = distance;
    if (distanceHigh) offset = (static_cast<long long>(*distanceHigh) << 32) | static_cast<DWORD>(distance);
    int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : method == FILE_END ? SEEK_END : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_SIZE;
    }
    off_t current = lseek(file->fd, 0, SEEK_CUR);
    off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? current : lseek(file->fd, 0, SEEK_END);
    lseek(file->fd, current, SEEK_SET);
    if (base + offset < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_FILE_SIZE;
    }
    off_t position = lseek(file->fd, base + offset, SEEK_SET);
    if (distanceHigh) *distanceHigh = static_cast<LONG>(position >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(position);
}

DWORD WINAPI GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
    winsim::OpenFile* file = winsim::Lookup(handle);
    if (file == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    struct stat st;
    fstat(file->fd, &st);
    if (sizeHigh) *sizeHigh = static_cast<DWORD>(static_cast<unsigned long long>(st.st_size) >> 32);
    return static_cast<DWORD>(st.st_size);
}

LONG WINAPI _llseek(HFILE hFile, LONG offset, int origin) {
    HANDLE handle = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(hFile));
    if (winsim::Lookup(handle) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return HFILE_ERROR;
    }
    if (origin < 0 || origin > 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return HFILE_ERROR;
    }
    DWORD position = SetFilePointer(handle, offset, nullptr, static_cast<DWORD>(origin));
    if (position == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) return HFILE_ERROR;
    return static_cast<LONG>(position);
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    auto it = winsim::g_files.find(handle);
    if (it != winsim::g_files.end()) {
        close(it->second.fd);
        winsim::g_files.erase(it);
        winsim::ReleaseHandle(handle);
        return TRUE;
    }
    if (winsim::CloseOtherHandle(handle)) return TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

BOOL WINAPI CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES security) {
    (void)security;
    if (winsim::Fail("CreateDirectoryA")) return FALSE;
    Resolved r = Resolve(pathName);
    if (r.error != ERROR_SUCCESS) {
        SetLastError(r.error);
        return FALSE;
    }
    if (r.exists) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (winsim::fs::IsDenied(r, false)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (mkdir(r.host.c_str(), 0755) != 0) {
        SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    winsim::fs::NoteWrite(pathName);
    return TRUE;
}

BOOL WINAPI RemoveDirectoryA(LPCSTR pathName) {
    Resolved r = Resolve(pathName);
    if (r.error != ERROR_SUCCESS) {
        SetLastError(r.error);
        return FALSE;
    }
    if (!r.exists) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (!r.isDirectory) {
        SetLastError(ERROR_DIRECTORY);
        return FALSE;
    }
    if (r.isRoot || winsim::fs::IsDenied(r, false)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (rmdir(r.host.c_str()) != 0) {
        SetLastError(ERROR_DIR_NOT_EMPTY);
        return FALSE;
    }
    winsim::fs::NoteWrite(pathName);
    return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR fileName) {
    if (winsim::Fail("DeleteFileA")) return FALSE;
    Resolved r = Resolve(fileName);
    if (r.error != ERROR_SUCCESS) {
        SetLastError(r.error);
        return FALSE;
    }
    if (!r.exists) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (r.isDirectory || winsim::fs::IsDenied(r, false) ||
        (winsim::fs::Attributes(r) & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (winsim::fs::IsOpen(r.host)) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    unlink(r.host.c_str());
    winsim::fs::ForgetAttributes(r);
    winsim::fs::NoteWrite(fileName);
    return TRUE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
    Resolved r = Resolve(fileName);
    if (r.error != ERROR_SUCCESS) {
        SetLastError(r.error);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (!r.exists) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    return winsim::fs::Attributes(r);
}

BOOL WINAPI SetFileAttributesA(LPCSTR fileName, DWORD attributes) {
    Resolved r = Resolve(fileName);
    if (r.error != ERROR_SUCCESS) {
        SetLastError(r.error);
        return FALSE;
    }
    if (!r.exists) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    winsim::fs::SetAttributes(r, attributes);
    return TRUE;
}

}  // extern "C"
