// Checks in which Wine is known to answer differently from Windows 95, 98
// and NT 4. The checks expect what Windows does (from its public
// documentation); on a Wine run a failure of a check listed here is
// reported but not counted. Every other difference is a winsim bug.
// Keep the reasons precise: what Windows does, what Wine does.
#pragma once

namespace contract {

struct KnownWineDifference {
    const char* check;
    const char* reason;
};

inline const KnownWineDifference kKnownWineDifferences[] = {
    {"CreateDirectoryA.missing_drive.error",
     "Windows documents ERROR_PATH_NOT_FOUND (3) when a level above the new folder does not exist, "
     "and a drive letter that is not assigned is such a level; Wine 8.0 answers ERROR_FILE_NOT_FOUND (2) "
     "because its lookup of the missing dosdevices entry fails as a missing name"},
    {"SetEndOfFile.read_only_handle.error",
     "Windows refuses SetEndOfFile on a handle opened without GENERIC_WRITE with ERROR_ACCESS_DENIED (5); "
     "Wine 8.0 truncates the Unix descriptor, which fails with EINVAL, and answers ERROR_INVALID_PARAMETER (87)"},
    {"wsprintfA.limit.count",
     "Windows documents the count returned as the characters stored without the terminator, 1023 when "
     "the 1024-byte output is full; Wine 8.0 answers 1024 whenever the output reaches the limit. "
     "The text itself (1023 characters and the terminator) is the same"},
    {"wsprintfA.limit.exact.count",
     "as wsprintfA.limit.count: a text of exactly 1023 characters fills the output, and Wine 8.0 answers 1024"},
    {"RegCreateKeyExA.empty_name.disposition",
     "an empty name makes RegCreateKeyExA open the key it is given, which exists, and Windows documents "
     "REG_OPENED_EXISTING_KEY (2) for a key that existed; Wine 8.0 answers REG_CREATED_NEW_KEY (1). "
     "The installer does not use the disposition"},
    {"GetFileVersionInfoSizeA.no_version.error",
     "Windows NT finds the version resource through its resource loader, which answers "
     "ERROR_RESOURCE_TYPE_NOT_FOUND (1813) for an executable whose resources hold no RT_VERSION; "
     "Wine 8.0 reads the file itself and answers ERROR_RESOURCE_DATA_NOT_FOUND (1812) for every "
     "executable without a version resource"},
    {"ShellLink.file.strings_unterminated",
     "the Shell Link format stores each string (description, arguments, icon location) as a count of "
     "characters and the characters, without a terminator, as Windows writes it; Wine 8.0 counts and "
     "writes the terminating zero too"},
    {nullptr, nullptr},  // end of the list
};

}  // namespace contract
