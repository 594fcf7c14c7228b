// A simulated machine for one test: drives C and D in a fresh host folder,
// the platform's Windows and system directories, the installer in
// D:\Setup, and the installer's resources. A window that the simulated
// user's script does not expect fails the test. Undone when it goes out of
// scope.
#pragma once

#include <string>

#include "app/install_app.h"
#include "winsim/machine.h"

class TestMachine {
public:
    explicit TestMachine(winsim::Platform platform = winsim::Platform::NT4, LANGID language = 0x0409);
    ~TestMachine();
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    // The host folder that holds the drives (root/c, root/d ...).
    const std::string& root() const { return root_; }
    // Maps a further drive letter to a fresh folder under root.
    void AddDrive(char letter);

private:
    std::string root_;
};

// The application object for a phase run on its own: the framework's
// start-up done (instance handle, title), InitInstance not run.
class InstallerApp : public CInstallApp {
public:
    InstallerApp();
};

// Runs the framework's life cycle on a fresh CInstallApp, as Windows runs
// Install.EXE; returns the process exit code.
int RunInstaller();

// The installer's compiled resources.
void LoadInstallerResources();
