// The destination choice of the run: the proposed folder, the introduction
// text, and the folder taken back from the dialog.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/install_run.h"
#include "dialog_test_app.h"
#include "ui/destination_dlg.h"
#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/registry.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

struct Choice {
    BOOL confirmed;
    InstallContext context;
    std::string proposal;  // the folder the dialog showed when it opened
};

// Runs the start-up probes and the choice, as the run does.
Choice Choose(DialogTestApp& test) {
    Choice choice{};
    // The probes set the run's own main window.
    delete test.app().m_pMainWnd;
    test.app().m_pMainWnd = nullptr;
    EXPECT_TRUE(RunStartupProbes(test.app(), choice.context));
    CDestinationDlg dialog;
    choice.confirmed = ChooseDestination(dialog, choice.context);
    std::vector<std::string> shown = winsim::TranscriptLines("control dialog=257 id=1025 ");
    if (shown.size() == 1) {
        std::size_t start = shown[0].find("text=\"") + 6;
        choice.proposal = shown[0].substr(start, shown[0].find("\" states=") - start);
    }
    test.app().ExitInstance();
    return choice;
}

TEST(DestinationChoiceTest, NextWithoutBrowseTakesTheProposal) {
    DialogTestApp test;
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDOK);
    Choice choice = Choose(test);
    EXPECT_TRUE(choice.confirmed);
    EXPECT_EQ(choice.proposal, "C:\\\\Program Files\\\\Quorlet V4.06");
    EXPECT_STREQ(choice.context.destDir, "C:\\Program Files\\Quorlet V4.06");
    EXPECT_EQ(choice.context.destDirLength, 30);
}

TEST(DestinationChoiceTest, TheIntroductionNamesTheProductTwice) {
    DialogTestApp test(0x0410);
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDOK);
    Choose(test);
    char format[1024];
    LoadStringA(GetModuleHandleA(NULL), IDS_INTRO, format, sizeof format);
    char expected[1024];
    wsprintfA(expected, format, "Quorlet V4.06", "Quorlet V4.06");
    EXPECT_EQ(winsim::TranscriptLines("control dialog=257 id=1032 "),
              std::vector<std::string>{"control dialog=257 id=1032 class=Static text=" + winsim::Quote(expected) +
                                       " states=enabled"});
}

TEST(DestinationChoiceTest, WithoutProgramFilesDirTheWindowsDriveIsProposed) {
    struct Case {
        const char* windowsDir;
        const char* proposal;
    } cases[] = {
        {"D:\\WINDOWS", "D:\\Program Files\\Quorlet V4.06"},
        {"C:\\WINNT", "C:\\Program Files\\Quorlet V4.06"},
        {"", "C:\\Program Files\\Quorlet V4.06"},  // nothing usable: drive C
    };
    for (const auto& c : cases) {
        DialogTestApp test(0x0409, winsim::Platform::Win95);
        winsim::settings().windowsDir = c.windowsDir;
        winsim::ExpectDialog(IDD_DESTINATION).Press(IDOK);
        Choice choice = Choose(test);
        EXPECT_STREQ(choice.context.destDir, c.proposal) << c.windowsDir;
    }
}

TEST(DestinationChoiceTest, TheProposalStartsFromProgramFilesDirWhenItCanBeRead) {
    const char* const key = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
    const std::string longFolder = "E:\\" + std::string(250, 'p');
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::string proposal;
    } cases[] = {
        {"set", [&] { winsim::RegSetString(key, "ProgramFilesDir", "E:\\Programs"); },
         "E:\\Programs\\Quorlet V4.06"},
        // Composed and cut to 259 characters.
        {"long", [&] { winsim::RegSetString(key, "ProgramFilesDir", longFolder); },
         (longFolder + "\\Quorlet V4.06").substr(0, 259)},
        // Nothing usable: "Program Files" on the Windows drive (D: here).
        {"missing", [] {}, "D:\\Program Files\\Quorlet V4.06"},
        {"empty", [&] { winsim::RegSetString(key, "ProgramFilesDir", ""); }, "D:\\Program Files\\Quorlet V4.06"},
        {"too long for the buffer", [&] { winsim::RegSetString(key, "ProgramFilesDir", "E:\\" + std::string(300, 'p')); },
         "D:\\Program Files\\Quorlet V4.06"},
        {"not a string", [&] { winsim::RegSetValue(key, "ProgramFilesDir", REG_DWORD, std::string("E:\\x", 4)); },
         "D:\\Program Files\\Quorlet V4.06"},
        {"not writable",
         [&] {
             winsim::RegSetString(key, "ProgramFilesDir", "E:\\Programs");
             winsim::RegDenyAccess(key);
         },
         "D:\\Program Files\\Quorlet V4.06"},
    };
    for (const auto& c : cases) {
        DialogTestApp test;
        winsim::settings().windowsDir = "D:\\WINNT";
        c.prepare();
        winsim::ExpectDialog(IDD_DESTINATION).Press(IDOK);
        Choice choice = Choose(test);
        EXPECT_EQ(std::string(choice.context.destDir), c.proposal) << c.name;
        EXPECT_EQ(choice.context.destDirLength, static_cast<int>(c.proposal.size())) << c.name;
        EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty()) << c.name;
    }
}

TEST(DestinationChoiceTest, CancelEndsTheChoiceSilently) {
    for (bool escape : {false, true}) {
        DialogTestApp test;
        if (escape) {
            winsim::ExpectDialog(IDD_DESTINATION).Escape();
        } else {
            winsim::ExpectDialog(IDD_DESTINATION).Press(IDCANCEL);
        }
        Choice choice = Choose(test);
        EXPECT_FALSE(choice.confirmed);
        EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty());
    }
}

TEST(DestinationChoiceTest, ALongerFolderIsCutTo259Characters) {
    // A text no user could produce: the static shows 300 characters.
    std::string folder = "C:\\" + std::string(297, 'x');
    DialogTestApp test;
    winsim::ExpectDialog(IDD_DESTINATION)
        .Run([&](HWND dialog) { SetWindowTextA(GetDlgItem(dialog, IDC_DESTINATION), folder.c_str()); })
        .Press(IDOK);
    Choice choice = Choose(test);
    EXPECT_TRUE(choice.confirmed);
    EXPECT_EQ(std::string(choice.context.destDir), folder.substr(0, 259));
    EXPECT_EQ(choice.context.destDirLength, 259);
}

TEST(DestinationChoiceTest, ABrowsedFolderIsTakenExactly) {
    DialogTestApp test;
    winsim::MakeDirectory("D:\\Editors");
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDC_BROWSE).Press(IDOK);
    winsim::ExpectBrowser().Pick("D:\\");
    Choice choice = Choose(test);
    EXPECT_STREQ(choice.context.destDir, "D:\\");
    EXPECT_EQ(choice.context.destDirLength, 3);
}

}  // namespace
