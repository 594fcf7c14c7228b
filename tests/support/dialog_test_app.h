// For tests of the dialogs: a machine in one language and the application
// object started as the framework starts it (instance, title), with the
// window-less main window of the run, without running the installation.
#pragma once

#include <memory>

#include "app/install_app.h"
#include "test_machine.h"

class DialogTestApp {
public:
    explicit DialogTestApp(LANGID language = 0x0409, winsim::Platform platform = winsim::Platform::NT4);
    ~DialogTestApp();
    DialogTestApp(const DialogTestApp&) = delete;
    DialogTestApp& operator=(const DialogTestApp&) = delete;

    CInstallApp& app() { return *app_; }

private:
    TestMachine machine_;
    std::unique_ptr<CInstallApp> app_;
};
