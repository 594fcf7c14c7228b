#include "test_machine.h"

#include <stdlib.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "app/install_app.h"
#include "winsim/filesystem.h"
#include "winsim/resources.h"
#include "winsim/user.h"

extern const unsigned char g_installRes[];
extern const std::size_t g_installResSize;

void LoadInstallerResources() {
    static bool loaded = false;
    if (!loaded) loaded = winsim::SetModuleResources(g_installRes, g_installResSize);
}

TestMachine::TestMachine(winsim::Platform platform, LANGID language) {
    winsim::Reset();
    winsim::SetUserFailureHandler([](const std::string& message) { ADD_FAILURE() << message; });
    LoadInstallerResources();
    char pattern[] = "/tmp/winsim-XXXXXX";
    root_ = mkdtemp(pattern);
    winsim::SetPlatform(platform);
    winsim::settings().language = language;
    AddDrive('C');
    AddDrive('D');
    winsim::MakeDirectory(winsim::settings().systemDir);
    winsim::WriteFile(winsim::settings().modulePath, "MZ");
}

TestMachine::~TestMachine() {
    winsim::Reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void TestMachine::AddDrive(char letter) {
    std::string folder = root_ + "/" + static_cast<char>(letter | 0x20);
    std::filesystem::create_directories(folder);
    winsim::MapDrive(letter, folder);
}

InstallerApp::InstallerApp() {
    AfxWinInit(winsim::ModuleInstance(), NULL, const_cast<char*>(""), SW_SHOWNORMAL);
}

int RunInstaller() {
    CInstallApp app;
    return AfxWinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWNORMAL);
}
