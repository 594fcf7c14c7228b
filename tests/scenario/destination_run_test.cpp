// Whole runs up to the destination folder: cancelled in the destination
// dialog, or confirmed and created.
#include <gtest/gtest.h>

#include "install_fixture.h"
#include "test_machine.h"
#include "ui/resource.h"
#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/registry.h"
#include "winsim/transcript.h"
#include "winsim/user.h"
#include "winsim/window_manager.h"

namespace {

const char kEnvironment[] = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Environment";

TEST(DestinationRunTest, CancelInTheDestinationDialogEndsTheRunSilently) {
    TestMachine machine(winsim::Platform::Win98);
    SetErrorMode(SEM_FAILCRITICALERRORS);
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDCANCEL);
    RunInstaller();
    EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty());
    EXPECT_EQ(winsim::TranscriptLines("dialog open").size(), 1u);
    EXPECT_TRUE(winsim::FileWrites().empty());
    EXPECT_FALSE(winsim::DirectoryExists("C:\\Program Files"));
    EXPECT_EQ(winsim::CurrentErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS)) << "restored at the end";
    EXPECT_EQ(winsim::LiveWindowCount(), 0);
}

TEST(DestinationRunTest, TheConfirmedFolderIsCreated) {
    struct Case {
        const char* programFiles;  // null: no ProgramFilesDir value
        const char* created;
    } cases[] = {
        {"D:\\Programme", "D:\\Programme\\Quorlet V4.06"},
        {nullptr, "C:\\Program Files\\Quorlet V4.06"},
    };
    for (const auto& c : cases) {
        TestMachine machine(winsim::Platform::NT4);
        if (c.programFiles) {
            winsim::RegSetString("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                                 c.programFiles);
        }
        winsim::RegSetString(kEnvironment, "Path", "C:\\WINNT\\system32");
        PlaceDistribution();
        winsim::ExpectDialog(IDD_DESTINATION).Enter();
        // The rest of the run: no system DLL is installed, so all four wait
        // for a restart.
        winsim::ExpectDialog(IDD_PROGRESS);
        winsim::ExpectDialog(IDD_FILETYPES).Escape();
        winsim::ExpectDialog(IDD_RESTART).Click(IDC_RESTART_LATER).Press(IDOK);
        RunInstaller();
        EXPECT_TRUE(winsim::DirectoryExists(c.created)) << c.created;
        EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty());
        EXPECT_EQ(winsim::PendingExpectedWindows(), 0);
    }
}

TEST(DestinationRunTest, AnExistingBrowsedFolderIsUsedSilently) {
    TestMachine machine(winsim::Platform::Win95);
    winsim::MakeDirectory("D:\\Tools\\Quorlet");
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDC_BROWSE).Press(IDOK);
    winsim::ExpectBrowser().Pick("D:\\Tools\\Quorlet");
    PlaceDistribution();
    winsim::ExpectDialog(IDD_PROGRESS);
    winsim::ExpectDialog(IDD_FILETYPES).Escape();
    winsim::ExpectDialog(IDD_RESTART).Click(IDC_RESTART_LATER).Press(IDOK);
    RunInstaller();
    EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty());
    EXPECT_TRUE(winsim::FileExists("D:\\Tools\\Quorlet\\Quorlet.exe"));
    EXPECT_FALSE(winsim::DirectoryExists("C:\\Program Files\\Quorlet V4.06"));
}

}  // namespace
