// GetTempFileNameA: "<path>\<up to 3 characters of the prefix><hex>.TMP".
// With unique number 0 the system tries numbers until the name is free and
// creates the file, empty; with any other number it only forms the name.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "fs_internal.h"
#include "winsim/faults.h"
#include "winsim/machine.h"

#ifndef ERROR_BUFFER_OVERFLOW
#define ERROR_BUFFER_OVERFLOW 111L
#endif

namespace winsim {
namespace {

// Windows starts from the tick count; the simulation from 1, so that runs
// repeat exactly.
UINT g_nextUnique = 1;
ResetHook g_reset([] { g_nextUnique = 1; });

std::string TempName(const std::string& folder, const char* prefix, UINT unique) {
    std::string name = folder;
    if (name.empty() || (name.back() != '\\' && name.back() != '/')) name += '\\';
    if (prefix) name += std::string(prefix).substr(0, 3);
    char number[16];
    std::snprintf(number, sizeof number, "%X.TMP", unique & 0xFFFF);
    return name + number;
}

}  // namespace
}  // namespace winsim

extern "C" UINT WINAPI GetTempFileNameA(LPCSTR pathName, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
    namespace fs = winsim::fs;
    DWORD error;
    if (winsim::ShouldFail("GetTempFileNameA", &error)) {
        SetLastError(error);
        return 0;
    }
    if (pathName == nullptr || tempFileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // The buffer holds MAX_PATH characters: a folder too long for any name
    // is refused before anything is made.
    if (winsim::TempName(pathName, prefix, 0xFFFF).size() >= MAX_PATH) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return 0;
    }
    if (unique != 0) {
        const std::string name = winsim::TempName(pathName, prefix, unique);
        std::memcpy(tempFileName, name.c_str(), name.size() + 1);
        return unique & 0xFFFF;
    }
    fs::Resolved folder = fs::Resolve(pathName);
    if (folder.error != ERROR_SUCCESS || !folder.exists || !folder.isDirectory) {
        SetLastError(ERROR_DIRECTORY);
        return 0;
    }
    if (fs::IsDenied(folder, false)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    for (int tries = 0; tries < 0xFFFF; ++tries) {
        const UINT number = winsim::g_nextUnique;
        winsim::g_nextUnique = number >= 0xFFFF ? 1 : number + 1;
        const std::string name = winsim::TempName(pathName, prefix, number);
        fs::Resolved candidate = fs::Resolve(name.c_str());
        if (candidate.error != ERROR_SUCCESS || candidate.exists) continue;
        int fd = open(candidate.host.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) continue;
        close(fd);
        fs::NoteWrite(name);
        std::memcpy(tempFileName, name.c_str(), name.size() + 1);
        return number;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}
