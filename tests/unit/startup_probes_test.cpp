// The start of the run: the platform check, the error mode, the product
// name and the folders the run works from.
#include <gtest/gtest.h>

#include "app/install_app.h"
#include "app/install_run.h"
#include "test_machine.h"
#include "winsim/filesystem.h"
#include "winsim/resources.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

struct Probed {
    BOOL accepted;
    InstallContext context;
};

Probed Probe() {
    CInstallApp app;
    app.m_hInstance = winsim::ModuleInstance();
    Probed result{};
    result.accepted = RunStartupProbes(app, result.context);
    if (result.accepted) {
        EXPECT_NE(app.m_pMainWnd, nullptr);
        EXPECT_EQ(app.m_pMainWnd->GetSafeHwnd(), nullptr) << "the main window never gets a window";
        app.ExitInstance();
    }
    return result;
}

TEST(StartupProbesTest, RefusesWindowsNTBeforeVersion4Only) {
    struct Case {
        winsim::Platform platform;
        DWORD platformId;
        DWORD major;
        bool accepted;
    } cases[] = {
        {winsim::Platform::NT351, 2, 3, false},
        {winsim::Platform::NT4, 2, 4, true},
        {winsim::Platform::Win2000, 2, 5, true},
        {winsim::Platform::Win95, 1, 4, true},
        {winsim::Platform::Win98, 1, 4, true},
        {winsim::Platform::Win95, 1, 3, true},  // not NT: no version is refused
        {winsim::Platform::Win95, 0, 1, true},
    };
    for (const auto& c : cases) {
        TestMachine machine(c.platform);
        winsim::settings().platformId = c.platformId;
        winsim::settings().majorVersion = c.major;
        if (!c.accepted) winsim::ExpectMessageBox();
        Probed probed = Probe();
        EXPECT_EQ(probed.accepted, c.accepted) << c.platformId << "/" << c.major;
        EXPECT_EQ(probed.context.isNT, c.platformId == 2);
        EXPECT_EQ(winsim::TranscriptLines("messagebox").size(), c.accepted ? 0u : 1u);
    }
}

TEST(StartupProbesTest, NT351ShowsTheRefusalAndDoesNothingElse) {
    TestMachine machine(winsim::Platform::NT351);
    SetErrorMode(SEM_FAILCRITICALERRORS);
    winsim::ExpectMessageBox();
    RunInstaller();
    ASSERT_EQ(winsim::Transcript().size(), 1u) << winsim::TranscriptText();
    EXPECT_EQ(winsim::Transcript()[0],
              "messagebox caption=\"Install\" icon=stop buttons=0 owner=none "
              "text=\"Quorlet requiert Windows 95, 98, ou NT4 ou plus !\"");
    EXPECT_TRUE(winsim::FileWrites().empty());
    // The mode was never saved, so leaving the run sets the initial 0.
    EXPECT_EQ(winsim::CurrentErrorMode(), 0u);
}

TEST(StartupProbesTest, ReadsProductNameAndFolders) {
    TestMachine machine(winsim::Platform::Win98, 0x040C);
    Probed probed = Probe();
    ASSERT_TRUE(probed.accepted);
    EXPECT_STREQ(probed.context.productName, "Quorlet V4.06");
    EXPECT_EQ(probed.context.productNameLength, 13);
    EXPECT_STREQ(probed.context.sourceDir, "D:\\Setup");
    EXPECT_STREQ(probed.context.windowsDir, "C:\\WINDOWS");
    EXPECT_STREQ(probed.context.systemDir, "C:\\WINDOWS\\SYSTEM");
    EXPECT_FALSE(probed.context.restartNeeded);
    EXPECT_FALSE(probed.context.pathChanged);
}

TEST(StartupProbesTest, SourceFolderIsTheInstallersFolderWithoutTrailingBackslash) {
    struct Case {
        const char* module;
        const char* sourceDir;
    } cases[] = {
        {"D:\\Install.EXE", "D:"},
        {"A:\\INSTALL.EXE", "A:"},
        {"D:\\Setup\\Disk 1\\Install.EXE", "D:\\Setup\\Disk 1"},
        {"\\\\server\\share\\Quorlet\\Install.EXE", "\\\\server\\share\\Quorlet"},
    };
    for (const auto& c : cases) {
        TestMachine machine;
        winsim::settings().modulePath = c.module;
        Probed probed = Probe();
        EXPECT_STREQ(probed.context.sourceDir, c.sourceDir);
    }
}

TEST(StartupProbesTest, SavesTheErrorModeAndTheRunRestoresIt) {
    TestMachine machine;
    SetErrorMode(SEM_FAILCRITICALERRORS);
    CInstallApp app;
    app.m_hInstance = winsim::ModuleInstance();
    InstallContext context = {};
    ASSERT_TRUE(RunStartupProbes(app, context));
    EXPECT_EQ(winsim::CurrentErrorMode(), static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
    EXPECT_EQ(app.oldErrorMode, static_cast<DWORD>(SEM_FAILCRITICALERRORS));
    app.ExitInstance();
    EXPECT_EQ(winsim::CurrentErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

}  // namespace
