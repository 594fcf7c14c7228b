// Machine settings, the reset between runs, and the system information calls
// that answer from the settings.
#include "winsim/machine.h"

#include <cstring>
#include <vector>

#include "winsim/faults.h"

namespace winsim {
namespace {

std::vector<std::function<void()>>& Hooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}

Settings& CurrentSettings() {
    static Settings current;
    return current;
}

UINT g_errorMode = 0;
std::string g_commandLine;

}  // namespace

void AddResetHook(std::function<void()> hook) { Hooks().push_back(std::move(hook)); }

void Reset() {
    CurrentSettings() = Settings();
    g_errorMode = 0;
    for (auto& hook : Hooks()) hook();
}

Settings& settings() { return CurrentSettings(); }

bool IsNT() { return settings().platformId == VER_PLATFORM_WIN32_NT; }

void SetPlatform(Platform platform, bool withFolders) { ApplyPlatform(platform, &settings(), withFolders); }

void ApplyPlatform(Platform platform, Settings* settings, bool withFolders) {
    Settings& s = *settings;
    switch (platform) {
        case Platform::Win95: s.platformId = 1; s.majorVersion = 4; s.minorVersion = 0; s.buildNumber = 950; break;
        case Platform::Win98: s.platformId = 1; s.majorVersion = 4; s.minorVersion = 10; s.buildNumber = 1998; break;
        case Platform::NT351: s.platformId = 2; s.majorVersion = 3; s.minorVersion = 51; s.buildNumber = 1057; break;
        case Platform::NT4: s.platformId = 2; s.majorVersion = 4; s.minorVersion = 0; s.buildNumber = 1381; break;
        case Platform::Win2000: s.platformId = 2; s.majorVersion = 5; s.minorVersion = 0; s.buildNumber = 2195; break;
        case Platform::XP: s.platformId = 2; s.majorVersion = 5; s.minorVersion = 1; s.buildNumber = 2600; break;
    }
    if (!withFolders) return;
    if (s.platformId == VER_PLATFORM_WIN32_NT) {
        s.windowsDir = "C:\\WINNT";
        s.systemDir = "C:\\WINNT\\system32";
    } else {
        s.windowsDir = "C:\\WINDOWS";
        s.systemDir = "C:\\WINDOWS\\SYSTEM";
    }
}

bool ParsePlatform(const std::string& name, Platform* platform) {
    static const struct { const char* name; Platform platform; } kNames[] = {
        {"95", Platform::Win95},   {"98", Platform::Win98},     {"nt351", Platform::NT351},
        {"nt4", Platform::NT4},    {"2000", Platform::Win2000}, {"xp", Platform::XP},
    };
    for (const auto& entry : kNames) {
        if (name == entry.name) {
            *platform = entry.platform;
            return true;
        }
    }
    return false;
}

}  // namespace winsim

using winsim::settings;

namespace {

// Copies `text` into a caller's buffer the way the directory and module
// calls do: the length without terminator when it fits, otherwise the size
// needed (with the terminator) and nothing copied.
UINT CopyOut(const std::string& text, LPSTR buffer, UINT size) {
    if (text.size() + 1 > size) return static_cast<UINT>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<UINT>(text.size());
}

}  // namespace

extern "C" {

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const winsim::Settings& s = settings();
    info->dwMajorVersion = s.majorVersion;
    info->dwMinorVersion = s.minorVersion;
    // Windows 95 and 98 carry the version in the high word of the build.
    info->dwBuildNumber = s.platformId == VER_PLATFORM_WIN32_NT
                              ? s.buildNumber
                              : ((s.majorVersion << 24) | (s.minorVersion << 16) | s.buildNumber);
    info->dwPlatformId = s.platformId;
    std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
    return TRUE;
}

DWORD WINAPI GetVersion(void) {
    const winsim::Settings& s = settings();
    DWORD version = (s.minorVersion << 8) | s.majorVersion;
    if (s.platformId == VER_PLATFORM_WIN32_NT) return version | (s.buildNumber << 16);
    return version | 0x80000000u;
}

UINT WINAPI SetErrorMode(UINT mode) {
    UINT previous = winsim::g_errorMode;
    winsim::g_errorMode = mode;
    return previous;
}

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    return CopyOut(settings().windowsDir, buffer, size);
}

UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
    return CopyOut(settings().systemDir, buffer, size);
}

HANDLE WINAPI GetCurrentProcess(void) { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)); }

LPSTR WINAPI GetCommandLineA(void) {
    winsim::g_commandLine = "\"" + settings().modulePath + "\"";
    return &winsim::g_commandLine[0];
}

LANGID WINAPI GetUserDefaultLangID(void) { return settings().language; }
LANGID WINAPI GetSystemDefaultLangID(void) { return settings().language; }

}  // extern "C"

namespace winsim {
// The error mode in force, for tests of the run's start and end.
UINT CurrentErrorMode() { return g_errorMode; }
}  // namespace winsim
