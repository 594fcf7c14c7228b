// The progress dialog: its opening, the percentage it shows, the bar
// positions, the keys it ignores and the owner it disables while it is up.
#include <gtest/gtest.h>

#include <string>

#include "dialog_test_app.h"
#include "ui/progress_dlg.h"
#include "winsim/faults.h"
#include "winsim/transcript.h"
#include "winsim/user.h"
#include "winsim/window_manager.h"

namespace {

std::string PercentText(const CProgressDlg& dialog) {
    char text[32];
    GetWindowTextA(GetDlgItem(dialog.m_hWnd, IDC_PERCENT), text, sizeof text);
    return text;
}

class ProgressDlgTest : public ::testing::Test {
protected:
    // The framework's start registers the progress bar class.
    void SetUp() override { InitCommonControls(); }

    DialogTestApp test_;
};

TEST_F(ProgressDlgTest, OpensWithTheCaptionTheRangeAndTheTemplatesPercentage) {
    winsim::ExpectDialog(IDD_PROGRESS);
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(winsim::TranscriptLines("dialog open"),
              std::vector<std::string>{"dialog open id=258 language=0x0409 caption=\"Progress\" owner=none "
                                       "bigicon=none smallicon=none rect=261,247,540,354"});
    EXPECT_EQ(winsim::TranscriptLines("control dialog=258"),
              (std::vector<std::string>{
                  "control dialog=258 id=1027 class=msctls_progress32 text=\"Progress1\" states=enabled "
                  "range=0..100 pos=0 step=10",
                  "control dialog=258 id=1028 class=Static text=\" 0 %\" states=enabled",
                  "control dialog=258 id=1029 class=Static text=\"\" states=enabled",
              }));
    EXPECT_TRUE(IsWindowVisible(dialog.m_hWnd));
    EXPECT_EQ(dialog.m_wndBar.m_hWnd, GetDlgItem(dialog.m_hWnd, IDC_PROGRESS));
}

TEST_F(ProgressDlgTest, ACaptionIdOtherThanZeroNamesTheCaption) {
    winsim::ExpectDialog(IDD_PROGRESS);
    CProgressDlg dialog(IDS_CHOOSE_DIR);
    ASSERT_TRUE(dialog.Create());
    char caption[64];
    GetWindowTextA(dialog.m_hWnd, caption, sizeof caption);
    EXPECT_STREQ(caption, "Choose directory:");
}

TEST_F(ProgressDlgTest, ThePercentageOfEachPosition) {
    struct Case {
        int low, high, pos;
        const char* text;
    } cases[] = {
        {0, 100, 0, "0%"},   {0, 100, 42, "42%"}, {0, 100, 100, "100%"}, {10, 20, 15, "50%"},
        {0, 50, 50, "100%"}, {0, 50, 51, "2%"},   {0, 50, 100, "0%"},    {0, 100, -5, "-5%"},
        {0, 57, 1, "1%"},    {0, 57, 56, "98%"},  {0, 3, 2, "66%"},
        // An empty range shows 0% rather than dividing by zero.
        {5, 5, 5, "0%"},     {5, 5, 9, "0%"},
    };
    for (const auto& c : cases) {
        winsim::ExpectDialog(IDD_PROGRESS);
        CProgressDlg dialog;
        ASSERT_TRUE(dialog.Create());
        dialog.SetRange(c.low, c.high);
        dialog.SetPos(c.pos);
        EXPECT_EQ(PercentText(dialog), c.text) << c.low << ".." << c.high << " at " << c.pos;
    }
}

TEST_F(ProgressDlgTest, ThePercentageTextIsSetOnlyWhenItChanges) {
    winsim::ExpectDialog(IDD_PROGRESS);
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.SetRange(0, 200);
    dialog.SetPos(0);  // " 0 %" becomes "0%"
    dialog.SetPos(1);  // still 0%
    dialog.SetPos(0);
    dialog.SetPos(2);  // 1%
    dialog.SetPos(3);  // 1%
    EXPECT_EQ(winsim::TranscriptLines("text dialog=258 id=1028"),
              (std::vector<std::string>{"text dialog=258 id=1028 \"0%\"", "text dialog=258 id=1028 \"1%\""}));
    EXPECT_EQ(winsim::TranscriptLines("progress dialog=258"),
              (std::vector<std::string>{
                  "progress dialog=258 id=1027 range=0..200", "progress dialog=258 id=1027 pos=0",
                  "progress dialog=258 id=1027 pos=1", "progress dialog=258 id=1027 pos=0",
                  "progress dialog=258 id=1027 pos=2", "progress dialog=258 id=1027 pos=3"}));
}

TEST_F(ProgressDlgTest, SetPosGivesThePreviousPositionOfTheBar) {
    winsim::ExpectDialog(IDD_PROGRESS);
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.SetRange(0, 57);
    EXPECT_EQ(dialog.SetPos(4), 0);
    EXPECT_EQ(dialog.SetPos(9), 4);
    EXPECT_EQ(dialog.SetPos(80), 9);  // the bar stops at its upper bound
    EXPECT_EQ(dialog.SetPos(10), 57);
    // Bounds beyond 32767 reach the bar as 16 bits, read without sign.
    dialog.SetRange(0, 60000);
    dialog.SetPos(50000);
    EXPECT_EQ(dialog.SetPos(0), 50000);
}

TEST_F(ProgressDlgTest, TheStatusLineShowsTheText) {
    winsim::ExpectDialog(IDD_PROGRESS);
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.SetStatus("Installing Quorlet.exe.");
    EXPECT_EQ(winsim::TranscriptLines("text dialog=258 id=1029"),
              std::vector<std::string>{"text dialog=258 id=1029 \"Installing Quorlet.exe.\""});
}

TEST_F(ProgressDlgTest, EnterAndEscapeDoNothing) {
    // The keys arrive while SetPos drains the queue.
    winsim::ExpectDialog(IDD_PROGRESS).Enter().Escape().Enter();
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.SetPos(50);
    EXPECT_EQ(winsim::TranscriptLines("user").size(), 3u);
    EXPECT_TRUE(IsWindow(dialog.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(dialog.m_hWnd));
    EXPECT_TRUE(winsim::TranscriptLines("dialog end").empty());
}

TEST_F(ProgressDlgTest, DrainingServesEveryWindowOfTheThread) {
    winsim::ExpectDialog(IDD_PROGRESS);
    CProgressDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND other = winsim::CreateTestWindow("Other");
    PostMessageA(other, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Renamed"));
    dialog.SetPos(1);
    char text[16];
    GetWindowTextA(other, text, sizeof text);
    EXPECT_STREQ(text, "Renamed");
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE)) << "the queue is empty";
}

TEST_F(ProgressDlgTest, WithTheRunsMainWindowThereIsNoOwner) {
    winsim::ExpectDialog(IDD_PROGRESS);
    CProgressDlg* dialog = new CProgressDlg;
    ASSERT_TRUE(dialog->Create());
    EXPECT_EQ(dialog->m_pParentWnd, nullptr);
    EXPECT_FALSE(dialog->m_bOwnerDisabled);
    EXPECT_EQ(GetWindow(dialog->m_hWnd, GW_OWNER), nullptr);
    HWND window = dialog->m_hWnd;
    delete dialog;
    EXPECT_FALSE(IsWindow(window));
}

// How the owner fares: disabled while the dialog exists, enabled again
// however the dialog goes.
enum class Ending { DestroyWindow, Destructor, FailedCreation };

TEST_F(ProgressDlgTest, AnEnabledOwnerIsDisabledAndEnabledAgain) {
    for (Ending ending : {Ending::DestroyWindow, Ending::Destructor, Ending::FailedCreation}) {
        CWnd owner;
        owner.Attach(winsim::CreateTestWindow("Owner"));
        CProgressDlg* dialog = new CProgressDlg;
        if (ending == Ending::FailedCreation) {
            winsim::FailCall("CreateDialogParamA", ERROR_NOT_ENOUGH_MEMORY);
            EXPECT_FALSE(dialog->Create(&owner));
            EXPECT_FALSE(dialog->m_bOwnerDisabled);
        } else {
            winsim::ExpectDialog(IDD_PROGRESS);
            ASSERT_TRUE(dialog->Create(&owner));
            EXPECT_FALSE(IsWindowEnabled(owner.m_hWnd));
            EXPECT_TRUE(dialog->m_bOwnerDisabled);
            EXPECT_EQ(GetWindow(dialog->m_hWnd, GW_OWNER), owner.m_hWnd);
            if (ending == Ending::DestroyWindow) {
                dialog->DestroyWindow();
                EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
                EXPECT_EQ(dialog->m_wndBar.m_hWnd, nullptr) << "the bar went with the dialog";
            }
        }
        delete dialog;
        EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd)) << static_cast<int>(ending);
    }
}

TEST_F(ProgressDlgTest, AnOwnerDisabledBeforeStaysDisabled) {
    CWnd owner;
    owner.Attach(winsim::CreateTestWindow("Owner"));
    owner.EnableWindow(FALSE);
    winsim::ExpectDialog(IDD_PROGRESS);
    CProgressDlg* dialog = new CProgressDlg;
    ASSERT_TRUE(dialog->Create(&owner));
    EXPECT_FALSE(dialog->m_bOwnerDisabled);
    delete dialog;
    EXPECT_FALSE(IsWindowEnabled(owner.m_hWnd));
}

TEST_F(ProgressDlgTest, WithoutAParentTheMainWindowIsTheOwner) {
    CWnd mainWindow;
    mainWindow.Attach(winsim::CreateTestWindow("Main"));
    CWnd* placeholder = test_.app().m_pMainWnd;
    test_.app().m_pMainWnd = &mainWindow;
    winsim::ExpectDialog(IDD_PROGRESS);
    CProgressDlg* dialog = new CProgressDlg;
    ASSERT_TRUE(dialog->Create());
    EXPECT_FALSE(IsWindowEnabled(mainWindow.m_hWnd));
    EXPECT_EQ(GetWindow(dialog->m_hWnd, GW_OWNER), mainWindow.m_hWnd);
    delete dialog;
    EXPECT_TRUE(IsWindowEnabled(mainWindow.m_hWnd));
    test_.app().m_pMainWnd = placeholder;
}

// As on Windows, the progress bar's class exists only once the common
// controls were initialised; before, the template cannot be built.
TEST(ProgressDlgClassTest, WithoutTheCommonControlsTheDialogIsNotCreated) {
    DialogTestApp test;
    CWnd owner;
    owner.Attach(winsim::CreateTestWindow("Owner"));
    CProgressDlg dialog;
    EXPECT_FALSE(dialog.Create(&owner));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_EQ(winsim::LiveWindowCount(), 1) << "nothing of the dialog is left";
}

}  // namespace
