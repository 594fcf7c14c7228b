#include "util/file_replace.h"

namespace {

const char kTempPrefix[] = "qst";

// The folder of `path`, with its trailing backslash.
void FolderOf(const char* path, char* folder) {
    lstrcpynA(folder, path, MAX_PATH);
    int cut = 0;
    for (int i = 0; folder[i] != '\0'; ++i) {
        if (folder[i] == '\\') cut = i + 1;
    }
    folder[cut] = '\0';
}

// Undoes what is left of a failed replacement, keeping the failure's code.
void CleanUp(const char* temp, DWORD error) {
    DeleteFileA(temp);
    SetLastError(error);
}

BOOL WriteAll(const char* temp, const void* const* pieces, const DWORD* sizes, int count) {
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    for (int i = 0; i < count; ++i) {
        DWORD written = 0;
        if (sizes[i] == 0) continue;
        if (!WriteFile(file, pieces[i], sizes[i], &written, NULL) || written != sizes[i]) {
            DWORD error = GetLastError();
            if (error == ERROR_SUCCESS) error = ERROR_HANDLE_DISK_FULL;
            CloseHandle(file);
            SetLastError(error);
            return FALSE;
        }
    }
    if (!CloseHandle(file)) return FALSE;
    return TRUE;
}

}  // namespace

int ReplaceFileContent(const char* path, const void* const* pieces, const DWORD* sizes, int count) {
    // The file itself must be writable: a read-only or locked file is
    // refused here, before anything else is touched.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return REPLACE_OPEN_FAILED;
    CloseHandle(file);
    const DWORD attributes = GetFileAttributesA(path);

    char folder[MAX_PATH];
    FolderOf(path, folder);
    char temp[MAX_PATH];
    if (GetTempFileNameA(folder, kTempPrefix, 0, temp) == 0) return REPLACE_WRITE_FAILED;
    if (!WriteAll(temp, pieces, sizes, count)) {
        CleanUp(temp, GetLastError());
        return REPLACE_WRITE_FAILED;
    }

    // Swap the names: the old file steps aside under a free name, the new
    // one takes its place, and only then the old one goes.
    char old[MAX_PATH];
    if (GetTempFileNameA(folder, kTempPrefix, 0, old) == 0) {
        CleanUp(temp, GetLastError());
        return REPLACE_WRITE_FAILED;
    }
    DeleteFileA(old);
    if (!MoveFileA(path, old)) {
        CleanUp(temp, GetLastError());
        return REPLACE_WRITE_FAILED;
    }
    if (!MoveFileA(temp, path)) {
        DWORD error = GetLastError();
        MoveFileA(old, path);
        CleanUp(temp, error);
        return REPLACE_WRITE_FAILED;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path, attributes);
    DeleteFileA(old);
    return REPLACE_OK;
}
