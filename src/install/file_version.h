// The file version of an executable file, as far as the installer uses it:
// the first three parts of the fixed file information.
#pragma once

#include <windows.h>

struct VersionTriple {
    WORD parts[3];  // high and low word of dwFileVersionMS, high word of dwFileVersionLS
};

enum {
    FILE_VERSION_OK = 0,
    // No version resource, or one without fixed file information; the last
    // error says why.
    FILE_VERSION_NONE = -1,
    FILE_VERSION_NO_MEMORY = -2,  // the block for the resource could not be had
};

// Reads the version of the file at `path` into *version.
int ReadFileVersion(const char* path, VersionTriple* version);

// The same for a file of the distribution, which must have a version: FALSE
// after the failure message (IDS_NO_MEMORY or IDS_FILE_ACCESS).
BOOL ReadDistributionVersion(const char* path, VersionTriple* version);

// -1, 0 or 1 as `first` is older than, the same as or newer than `second`,
// part by part.
int CompareVersions(const VersionTriple& first, const VersionTriple& second);
