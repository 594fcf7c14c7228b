// The Windows build's machine: the real one, normally a fresh Wine prefix
// made by scripts/contract_wine.sh.
#include <stdio.h>

#include "contract.h"
#include "environment.h"

namespace contract {
namespace {

typedef const char*(__cdecl* WineVersionFunction)(void);

// Wine's ntdll exports wine_get_version; Windows' does not.
WineVersionFunction WineVersion() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr) return nullptr;
    return reinterpret_cast<WineVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
}

// A dialog that never ends would hold the run forever: after two minutes
// the run ends as failed.
DWORD WINAPI Watchdog(LPVOID) {
    Sleep(120000);
    printf("FAIL contract: the checks did not end within two minutes\n");
    ExitProcess(3);
}

}  // namespace

bool PrepareMachine(std::string* error) {
    (void)error;
    // No "insert a disk" or crash boxes: a check must never wait for a click.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    HANDLE watchdog = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    if (watchdog) CloseHandle(watchdog);
    return true;
}

void ReleaseMachine() {}

std::string MachineName() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    std::string name = Format("Windows %lu.%lu %s", static_cast<unsigned long>(info.dwMajorVersion),
                              static_cast<unsigned long>(info.dwMinorVersion),
                              info.dwPlatformId == VER_PLATFORM_WIN32_NT ? "NT" : "95/98");
    if (WineVersionFunction version = WineVersion()) name = std::string("Wine ") + version() + ", " + name;
    return name;
}

bool RunningUnderWine() { return WineVersion() != nullptr; }

std::string ScratchParent(int argc, char** argv) { return argc > 1 ? argv[1] : "C:"; }

}  // namespace contract
