// The destination dialog driven by the simulated user: the folder it gives
// back, the folder browser, its icons and its minimised painting.
#include <gtest/gtest.h>

#include <string>

#include "dialog_test_app.h"
#include "ui/destination_dlg.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"
#include "winsim/shell.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

const char* const kProposal = "C:\\Program Files\\Quorlet V4.06";

struct Outcome {
    int result;
    std::string destination;
};

// Shows the dialog as the run does: no parent, both texts set first.
Outcome Show() {
    CDestinationDlg dialog;
    dialog.m_strIntro = "Setup will install Quorlet.";
    dialog.m_strDestination = kProposal;
    int result = dialog.DoModal();
    return Outcome{result, static_cast<LPCSTR>(dialog.m_strDestination)};
}

// The folder the dialog shows, read while it is up.
std::string ShownFolder(HWND dialog) {
    char text[MAX_PATH];
    GetWindowTextA(GetDlgItem(dialog, IDC_DESTINATION), text, sizeof text);
    return text;
}

void ExpectShellObjectsGivenBack() {
    EXPECT_EQ(winsim::LiveShellBlocks(), 0) << "the id list is freed";
    EXPECT_EQ(winsim::ShellMallocReferences(), 0) << "the allocator is released";
    EXPECT_EQ(winsim::ShellMallocBadFrees(), 0);
}

TEST(DestinationDlgTest, OpensWithTheTextsTheIconsAndTheFocusOnNext) {
    DialogTestApp test;
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDOK);
    Show();
    std::vector<std::string> lines = winsim::TranscriptLines("dialog open");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0],
              "dialog open id=257 language=0x0409 caption=\"Quorlet installation\" owner=none bigicon=256 "
              "smallicon=256 rect=222,175,579,425");
    std::vector<std::string> controls = winsim::TranscriptLines("control dialog=257");
    ASSERT_EQ(controls.size(), 7u);
    EXPECT_EQ(controls[0], "control dialog=257 id=1 class=Button text=\"&Next >\" states=enabled,default,focus");
    EXPECT_EQ(controls[3], "control dialog=257 id=-1 class=Static text=\"#256\" states=enabled icon=256");
    EXPECT_EQ(controls[4], "control dialog=257 id=1032 class=Static text=\"Setup will install Quorlet.\" states=enabled");
    EXPECT_EQ(controls[6],
              "control dialog=257 id=1025 class=Static text=\"C:\\\\Program Files\\\\Quorlet V4.06\" states=enabled");
}

TEST(DestinationDlgTest, WithoutBrowseTheProposalComesBackOrTheDialogIsCancelled) {
    struct Case {
        const char* name;
        void (*script)(winsim::WindowScript&);
        int result;
    } cases[] = {
        {"Next", [](winsim::WindowScript& s) { s.Press(IDOK); }, IDOK},
        {"Enter", [](winsim::WindowScript& s) { s.Enter(); }, IDOK},
        {"Cancel", [](winsim::WindowScript& s) { s.Press(IDCANCEL); }, IDCANCEL},
        {"Escape", [](winsim::WindowScript& s) { s.Escape(); }, IDCANCEL},
        {"close box", [](winsim::WindowScript& s) { s.Close(); }, IDCANCEL},
    };
    for (const auto& c : cases) {
        DialogTestApp test;
        c.script(winsim::ExpectDialog(IDD_DESTINATION));
        Outcome outcome = Show();
        EXPECT_EQ(outcome.result, c.result) << c.name;
        EXPECT_EQ(outcome.destination, kProposal) << c.name;
        EXPECT_TRUE(winsim::TranscriptLines("browse").empty());
    }
}

TEST(DestinationDlgTest, ACancelledBrowserLeavesTheFolder) {
    DialogTestApp test;
    std::string shown;
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDC_BROWSE).Run([&](HWND d) { shown = ShownFolder(d); }).Press(IDOK);
    winsim::ExpectBrowser().Cancel();
    Outcome outcome = Show();
    EXPECT_EQ(shown, kProposal);
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.destination, kProposal);
    EXPECT_EQ(winsim::TranscriptLines("browse open"),
              std::vector<std::string>{
                  "browse open title=\"Choose directory:\" owner=none flags=0x0001 root=desktop"});
    EXPECT_TRUE(winsim::TranscriptLines("text dialog=257").empty());
    ExpectShellObjectsGivenBack();
}

TEST(DestinationDlgTest, EachChosenFolderReplacesTheShownOneExactly) {
    DialogTestApp test;
    winsim::MakeDirectory("D:\\Tools\\Editors");
    std::string afterFirst;
    winsim::ExpectDialog(IDD_DESTINATION)
        .Press(IDC_BROWSE)
        .Run([&](HWND d) { afterFirst = ShownFolder(d); })
        .Press(IDC_BROWSE)
        .Press(IDOK);
    winsim::ExpectBrowser().Pick("D:\\Tools\\Editors");
    winsim::ExpectBrowser().Pick("C:\\");  // a drive root keeps its backslash
    Outcome outcome = Show();
    EXPECT_EQ(afterFirst, "D:\\Tools\\Editors");
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.destination, "C:\\");
    ExpectShellObjectsGivenBack();
}

TEST(DestinationDlgTest, CancelAfterBrowseKeepsTheProposal) {
    DialogTestApp test;
    winsim::MakeDirectory("C:\\Apps");
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDC_BROWSE).Press(IDCANCEL);
    winsim::ExpectBrowser().Pick("C:\\Apps");
    Outcome outcome = Show();
    EXPECT_EQ(outcome.result, IDCANCEL);
    EXPECT_EQ(outcome.destination, kProposal);
    // The dialog did show the chosen folder.
    EXPECT_EQ(winsim::TranscriptLines("text dialog=257 id=1025"),
              std::vector<std::string>{"text dialog=257 id=1025 \"C:\\\\Apps\""});
    ExpectShellObjectsGivenBack();
}

TEST(DestinationDlgTest, AFolderTheShellCannotNameLeavesTheShownFolder) {
    DialogTestApp test;
    winsim::MakeDirectory("C:\\Apps");
    winsim::FailCall("SHGetPathFromIDListA", 0);
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDC_BROWSE).Press(IDOK);
    winsim::ExpectBrowser().Pick("C:\\Apps");
    Outcome outcome = Show();
    EXPECT_EQ(outcome.destination, kProposal);
    EXPECT_TRUE(winsim::TranscriptLines("text dialog=257").empty());
    ExpectShellObjectsGivenBack();
}

TEST(DestinationDlgTest, WithoutTheShellsAllocatorNoBrowserOpens) {
    DialogTestApp test;
    winsim::FailCall("SHGetMalloc", ERROR_NOT_ENOUGH_MEMORY);
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDC_BROWSE).Press(IDOK);
    Outcome outcome = Show();
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.destination, kProposal);
    EXPECT_TRUE(winsim::TranscriptLines("browse").empty());
    ExpectShellObjectsGivenBack();
}

TEST(DestinationDlgTest, TheBrowserTitleFollowsTheLanguage) {
    DialogTestApp test(0x040C);
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDC_BROWSE).Press(IDOK);
    winsim::ExpectBrowser().Cancel();
    Show();
    EXPECT_EQ(winsim::TranscriptLines("browse open"),
              std::vector<std::string>{
                  "browse open title=\"Choisissez le r\xE9pertoire:\" owner=none flags=0x0001 root=desktop"});
}

TEST(DestinationDlgTest, MinimisedTheIconIsDrawnInTheMiddle) {
    struct Case {
        int size;
        const char* line;
    } cases[] = {
        {36, "drawicon dialog=257 x=2 y=2 icon=256"},
        {37, "drawicon dialog=257 x=3 y=3 icon=256"},
        {32, "drawicon dialog=257 x=0 y=0 icon=256"},
        {20, "drawicon dialog=257 x=-5 y=-5 icon=256"},  // (20 - 32 + 1) / 2 truncates toward zero
    };
    for (const auto& c : cases) {
        DialogTestApp test;
        winsim::ExpectDialog(IDD_DESTINATION).Minimize(c.size, c.size).DragIcon().Press(IDCANCEL);
        Show();
        EXPECT_EQ(winsim::TranscriptLines("drawicon"), std::vector<std::string>{c.line}) << c.size;
        // Dragging the minimised dialog shows the application icon.
        EXPECT_EQ(winsim::TranscriptLines("user dragicon"),
                  std::vector<std::string>{"user dragicon dialog=257 icon=256"});
    }
}

TEST(DestinationDlgTest, NotMinimisedTheDialogPaintsAsUsual) {
    DialogTestApp test;
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDOK);
    Show();
    EXPECT_EQ(winsim::TranscriptLines("paint begin").size(), 1u);
    EXPECT_TRUE(winsim::TranscriptLines("drawicon").empty());
}

}  // namespace
