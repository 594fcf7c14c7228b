// File utilities: the size of an open file, a whole file in one global
// memory block, and the missing folder levels of a path.
#pragma once

#include <windows.h>

// Size of an open file; its position is left where it was.
LONG GetOpenFileSize(HANDLE file);

// Results of LoadWholeFile.
enum {
    LOAD_OK = 0,
    LOAD_NO_MEMORY = -1,      // the block could not be allocated; none exists
    LOAD_LOCK_FAILED = -2,    // the block could not be locked; it is freed
    LOAD_OPEN_FAILED = -3,    // the file could not be opened; nothing allocated
    LOAD_READ_FAILED = -4,    // short or failed read; the caller frees the block
};

// Reads the whole file into a new moveable global block of its size plus
// one zero byte, locked. On LOAD_OK and LOAD_READ_FAILED the caller unlocks
// and frees *block. `size`, when given, receives the file's size: the text
// may hold zero bytes of its own.
int LoadWholeFile(const char* path, HGLOBAL* block, char** data, DWORD* size = NULL);

// Creates every missing folder level of `path` that ends before a
// backslash (not the last level of a path without a trailing backslash).
// The drive ("C:\\") or the share ("\\\\server\\share\\") is never created.
// Returns 0, or the error code of the first level that cannot be created.
// The path is changed during the call only.
DWORD CreateDirectoryTree(char* path);
