// Replacements of system DLLs queued for the next start of Windows 95 and
// 98, in the [rename] section of Wininit.ini in the Windows directory.
//
// Other programs may have queued their own work in the file: every byte of
// it is kept. This run's entries go at the end of the file's [rename]
// section; when it has none, a new section with its "[rename]" header goes
// at the end of the file. A second header inside the section would start a
// second [rename] section, which a reader that takes the first one misses.
// The file is never rewritten in place: the new content is written whole
// to a temporary file beside it, which then takes the file's name, so that
// a failure at any step leaves the earlier content as it was.
#pragma once

#include <windows.h>

struct WininitQueue {
    char path[MAX_PATH];  // the Windows directory's Wininit.ini
    BOOL loaded;          // the file's earlier content has been read
    char* original;       // its content before this run (NULL: none)
    const char* originalData;
    DWORD originalSize;
    DWORD insertAt;        // where this run's lines go
    BOOL lineBreakFirst;   // the content before them lacks its final line break
    BOOL hasRenameSection; // the file has a [rename] section of its own
    char* added;           // this run's header and entries
    DWORD addedSize;
    DWORD addedCapacity;
};

void InitWininitQueue(WininitQueue& queue, const char* windowsDir, int maxEntries);

// Adds the lines that replace `target` by `tempCopy` at the next start
// ("NUL=" target, then target "=" tempCopy, both by their short paths) and
// puts the new content in place. FALSE after the failure message.
BOOL QueueWininitReplacement(WininitQueue& queue, const char* target, const char* tempCopy);

void FreeWininitQueue(WininitQueue& queue);

// Where lines for the [rename] section go in `data`: the end of its first
// [rename] section (the start of the next section's header line), or the
// end of the data when it has none. `found` tells which.
DWORD FindRenameInsertPoint(const char* data, DWORD size, BOOL* found);
