// GetVersionExA and its size check, the Windows and system directories
// with buffers too small, GetModuleFileNameA, SetErrorMode.
#include <string.h>

#include "contract.h"

namespace contract {
namespace {

void CheckVersion() {
    OSVERSIONINFOA info;
    memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = 148;
    ArmSentinel();
    Check("GetVersionExA.size_148.result", GetVersionExA(&info) != FALSE);
    CheckNumber("GetVersionExA.size_148.platform", info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    CheckNumber("GetVersionExA.size_148.major", info.dwMajorVersion, 4);
    CheckNumber("GetVersionExA.size_148.minor", info.dwMinorVersion, 0);

    // Any other size than the structure's is refused.
    const DWORD wrongSizes[] = {0, 147, 149};
    for (DWORD size : wrongSizes) {
        const std::string name = Format("GetVersionExA.size_%lu", static_cast<unsigned long>(size));
        char raw[sizeof(OSVERSIONINFOA) + 16];
        memset(raw, 0, sizeof(raw));
        OSVERSIONINFOA* wrong = reinterpret_cast<OSVERSIONINFOA*>(raw);
        wrong->dwOSVersionInfoSize = size;
        ArmSentinel();
        Check(name + ".result", GetVersionExA(wrong) == FALSE);
        CheckError(name + ".error", ERROR_INSUFFICIENT_BUFFER);
        CheckNumber(name + ".untouched", wrong->dwMajorVersion, 0);
    }
}

// The directory calls answer the length without the terminator when the
// path fits, and the size needed with the terminator when it does not.
void CheckDirectory(const char* call, UINT(WINAPI* get)(LPSTR, UINT)) {
    char full[MAX_PATH];
    const UINT length = get(full, sizeof(full));
    const std::string name = std::string(call) + ".";
    Check(name + "fits.result", length > 3 && length < MAX_PATH, Format("answered %u", length));
    CheckNumber(name + "fits.length", static_cast<long long>(strlen(full)), length);
    Check(name + "fits.absolute", full[1] == ':' && full[2] == '\\', "got \"" + Printable(full) + "\"");
    Check(name + "fits.no_trailing_backslash", length > 0 && full[length - 1] != '\\');

    char buffer[MAX_PATH];
    memset(buffer, 'X', sizeof(buffer));
    CheckNumber(name + "exact.result", get(buffer, length + 1), length);
    CheckText(name + "exact.text", buffer, full);

    memset(buffer, 'X', sizeof(buffer));
    CheckNumber(name + "one_short.result", get(buffer, length), length + 1);
    Check(name + "one_short.bounded", buffer[length] == 'X', "wrote past the buffer");
    CheckNumber(name + "null_buffer.result", get(nullptr, 0), length + 1);

    DWORD attributes = GetFileAttributesA(full);
    Check(name + "exists", attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

void CheckModuleFileName() {
    char path[MAX_PATH];
    memset(path, 'X', sizeof(path));
    ArmSentinel();
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    Check("GetModuleFileNameA.result", length > 0 && length < MAX_PATH, Format("answered %lu", static_cast<unsigned long>(length)));
    CheckNumber("GetModuleFileNameA.length", static_cast<long long>(strnlen(path, sizeof(path))), length);
    Check("GetModuleFileNameA.has_folder", strchr(path, '\\') != nullptr, "got \"" + Printable(path) + "\"");
    Check("GetModuleFileNameA.same_by_handle",
          GetModuleFileNameA(GetModuleHandleA(nullptr), path, MAX_PATH) == length);
}

void CheckErrorMode() {
    const UINT mode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    const UINT before = SetErrorMode(mode);
    CheckNumber("SetErrorMode.returns_previous", SetErrorMode(before), mode);
}

void Run() {
    CheckVersion();
    CheckDirectory("GetWindowsDirectoryA", GetWindowsDirectoryA);
    CheckDirectory("GetSystemDirectoryA", GetSystemDirectoryA);
    CheckModuleFileName();
    CheckErrorMode();
}

Group g_group("system", Run);

}  // namespace
}  // namespace contract
