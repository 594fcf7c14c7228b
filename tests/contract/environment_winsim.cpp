// The host build's machine: winsim set up like a fresh 32-bit Wine prefix in
// NT 4 mode: drive C in a temporary host folder with C:\windows and
// C:\windows\system32, English, code page 1252, the contract program at
// C:\windows\contract_tests.exe with the contract string table.
#include <stdlib.h>

#include <filesystem>

#include "contract.h"
#include "environment.h"
#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/resources.h"
#include "winsim/user.h"

extern const unsigned char g_contractRes[];
extern const std::size_t g_contractResSize;

namespace contract {
namespace {
std::string g_hostRoot;
}

bool PrepareMachine(std::string* error) {
    winsim::Reset();
    winsim::SetPlatform(winsim::Platform::NT4, false);
    winsim::Settings& s = winsim::settings();
    s.windowsDir = "C:\\windows";
    s.systemDir = "C:\\windows\\system32";
    s.modulePath = "C:\\windows\\contract_tests.exe";
    s.language = 0x0409;
    s.codePage = 1252;
    char pattern[] = "/tmp/winsim-contract-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        *error = "no temporary folder";
        return false;
    }
    g_hostRoot = pattern;
    winsim::MapDrive('C', g_hostRoot);
    winsim::MakeDirectory(s.systemDir);
    winsim::WriteFile(s.modulePath, "MZ");
    if (!winsim::SetModuleResources(g_contractRes, g_contractResSize)) {
        *error = "the contract resources do not parse";
        return false;
    }
    // The dialog checks drive their dialogs themselves, as a program would:
    // the simulated user has nothing to do, and a dialog that waits for it
    // is a failed check.
    winsim::SetDefaultResponder([](const winsim::OpenedWindow&, winsim::WindowScript*) { return true; });
    winsim::SetUserFailureHandler([](const std::string& message) {
        static int failures = 0;
        Check(Format("winsim.user.%d", ++failures), false, message.substr(0, message.find('\n')));
    });
    return true;
}

void ReleaseMachine() {
    winsim::Reset();
    std::error_code ignored;
    if (!g_hostRoot.empty()) std::filesystem::remove_all(g_hostRoot, ignored);
}

std::string MachineName() { return "winsim (NT 4.0)"; }

bool RunningUnderWine() { return false; }

std::string ScratchParent(int argc, char** argv) { return argc > 1 ? argv[1] : "C:"; }

}  // namespace contract
