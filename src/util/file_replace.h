// Replaces the whole content of a file so that a failure at any point
// leaves the old content in place: the new content goes to a fresh file in
// the same folder first, and only a complete file takes the old one's name.
// Uses calls that Windows 95 and 98 have.
#pragma once

#include <windows.h>

enum {
    REPLACE_OK = 0,
    REPLACE_OPEN_FAILED = 1,   // the file cannot be opened (or created) for writing
    REPLACE_WRITE_FAILED = 2,  // the new content could not be written or put in place
};

// The new content is the pieces one after the other. On failure the last
// error code is that of the call that failed.
int ReplaceFileContent(const char* path, const void* const* pieces, const DWORD* sizes, int count);
