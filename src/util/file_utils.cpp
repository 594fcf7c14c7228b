#include "util/file_utils.h"

LONG GetOpenFileSize(HANDLE file) {
    HFILE hFile = static_cast<HFILE>(reinterpret_cast<LONG_PTR>(file));
    LONG position = _llseek(hFile, 0, FILE_CURRENT);
    LONG size = _llseek(hFile, 0, FILE_END);
    _llseek(hFile, position, FILE_BEGIN);
    return size;
}

int LoadWholeFile(const char* path, HGLOBAL* block, char** data, DWORD* fileSize) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE) return LOAD_OPEN_FAILED;
    LONG size = GetOpenFileSize(file);
    if (size < 0) {
        // A size that _llseek cannot tell (HFILE_ERROR) cannot be read whole.
        CloseHandle(file);
        return LOAD_OPEN_FAILED;
    }
    *block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size) + 1);
    if (*block == NULL) {
        CloseHandle(file);
        return LOAD_NO_MEMORY;
    }
    *data = static_cast<char*>(GlobalLock(*block));
    if (*data == NULL) {
        GlobalFree(*block);
        CloseHandle(file);
        return LOAD_LOCK_FAILED;
    }
    if (fileSize != NULL) *fileSize = static_cast<DWORD>(size);
    DWORD read = 0;
    BOOL ok = ReadFile(file, *data, static_cast<DWORD>(size), &read, NULL);
    CloseHandle(file);
    return (ok && read == static_cast<DWORD>(size)) ? LOAD_OK : LOAD_READ_FAILED;
}

namespace {

// Index of the first character that may belong to a folder to create: after
// "C:\\", or after "\\\\server\\share\\" for a network path.
int FirstCreatableIndex(const char* path, int length) {
    if (length < 2 || path[0] != '\\' || path[1] != '\\') return 3;
    int separators = 0;
    for (int i = 2; i < length; ++i) {
        if (path[i] == '\\' && ++separators == 2) return i + 1;
    }
    return length;
}

}  // namespace

DWORD CreateDirectoryTree(char* path) {
    int length = lstrlenA(path);
    for (int i = FirstCreatableIndex(path, length); i < length; ++i) {
        if (path[i] != '\\') continue;
        path[i] = '\0';
        BOOL created = CreateDirectoryA(path, NULL);
        DWORD error = created ? ERROR_SUCCESS : GetLastError();
        path[i] = '\\';
        if (!created && error != ERROR_ALREADY_EXISTS) {
            // The caller reports the failure through the last error code.
            SetLastError(error);
            return error;
        }
    }
    return 0;
}
