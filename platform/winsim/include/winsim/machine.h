// The simulated machine as a test (or install-sim) sets it up and inspects
// it: platform, language, folders, drives, and the reset between runs.
#pragma once

#include <functional>
#include <string>

#include "../windows.h"

namespace winsim {

enum class Platform { Win95, Win98, NT351, NT4, Win2000, XP };

struct Settings {
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    DWORD majorVersion = 4;
    DWORD minorVersion = 0;
    DWORD buildNumber = 1381;
    UINT codePage = 1252;
    LANGID language = 0x0409;
    std::string windowsDir = "C:\\WINNT";
    std::string systemDir = "C:\\WINNT\\system32";
    std::string modulePath = "D:\\Setup\\Install.EXE";
    bool shutdownPrivilege = true;  // the user holds SeShutdownPrivilege
    bool tokenOpenable = true;      // OpenProcessToken succeeds
    // The screen in pixels, as GetSystemMetrics gives it; dialogs are laid
    // out with the base units of "MS Sans Serif" 8 at 96 dots per inch.
    int screenWidth = 800;
    int screenHeight = 600;
};

// Back to an empty machine: default settings (NT 4, English, code page
// 1252), no drives, an empty registry, no faults, no windows, an empty
// transcript, no open handles.
void Reset();
Settings& settings();

// Platform id, version numbers and, when `withFolders`, the usual Windows and
// system directories of that platform family.
void SetPlatform(Platform platform, bool withFolders = true);
// The same on a settings record of one's own.
void ApplyPlatform(Platform platform, Settings* settings, bool withFolders = true);
bool ParsePlatform(const std::string& name, Platform* platform);  // "95", "nt4" ...
bool IsNT();

// The process error mode that SetErrorMode last set.
UINT CurrentErrorMode();

// Hooks run by Reset(), in the order they were added; each winsim module
// registers the one that clears its own state.
void AddResetHook(std::function<void()> hook);
struct ResetHook {
    explicit ResetHook(std::function<void()> hook) { AddResetHook(std::move(hook)); }
};

}  // namespace winsim
