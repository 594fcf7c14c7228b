// The simulated user holds a test to its script: windows it does not
// expect, dialogs that wait with no step left, steps left unused, answers a
// window does not offer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_test_app.h"
#include "shlobj.h"
#include "ui/destination_dlg.h"
#include "ui/restart_dlg.h"
#include "winsim/user.h"

namespace {

class WinsimUserTest : public ::testing::Test {
protected:
    void SetUp() override {
        winsim::SetUserFailureHandler([this](const std::string& message) { failures_.push_back(message); });
    }

    // The first line of each failure (the transcript follows it).
    std::vector<std::string> Failures() const {
        std::vector<std::string> lines;
        for (const auto& failure : failures_) lines.push_back(failure.substr(0, failure.find('\n')));
        return lines;
    }

    DialogTestApp test_;
    std::vector<std::string> failures_;
};

TEST_F(WinsimUserTest, ADialogTheScriptDoesNotExpectIsCancelled) {
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDOK);
    CRestartDlg restart;
    EXPECT_EQ(restart.DoModal(), IDCANCEL);
    EXPECT_EQ(Failures(), std::vector<std::string>{"simulated user: dialog 259 \"Restart Windows\" opened while "
                                                   "the script expects dialog 257"});
    EXPECT_EQ(winsim::PendingExpectedWindows(), 1);
}

TEST_F(WinsimUserTest, ADialogWaitingWithNoStepLeftIsCancelled) {
    winsim::ExpectDialog(IDD_RESTART).Click(IDC_RESTART_LATER);
    CRestartDlg restart;
    EXPECT_EQ(restart.DoModal(), IDCANCEL);
    EXPECT_EQ(Failures(), std::vector<std::string>{"simulated user: dialog 259 waits for the user and the script "
                                                   "has no step left for it"});
}

TEST_F(WinsimUserTest, StepsLeftWhenTheDialogClosesFail) {
    winsim::ExpectDialog(IDD_RESTART).Press(IDOK).Press(IDOK);
    CRestartDlg restart;
    EXPECT_EQ(restart.DoModal(), IDOK);
    EXPECT_EQ(Failures(), std::vector<std::string>{"simulated user: dialog 259 closes with 1 step(s) of the script "
                                                   "left"});
}

TEST_F(WinsimUserTest, TheUserReachesOnlyControlsThatAreThere) {
    winsim::ExpectDialog(IDD_DESTINATION).Type(IDC_DESTINATION, "C:\\Typed").Press(4711).Press(IDCANCEL);
    CDestinationDlg destination;
    destination.m_strDestination = "C:\\Proposed";
    EXPECT_EQ(destination.DoModal(), IDCANCEL);
    // The folder is a static text: nobody can type into it.
    EXPECT_EQ(Failures(), (std::vector<std::string>{"simulated user: dialog 257 has no edit box 1025",
                                                    "simulated user: dialog 257 has no button 4711"}));
}

TEST_F(WinsimUserTest, AMessageBoxAnswerMustBeOneOfItsButtons) {
    winsim::ExpectMessageBox().Answer(IDYES);
    EXPECT_EQ(MessageBoxA(NULL, "Done.", "Install", MB_OK), IDOK);
    ASSERT_EQ(Failures().size(), 1u);
    winsim::ExpectMessageBox().Answer(IDNO);
    EXPECT_EQ(MessageBoxA(NULL, "Restart?", "Install", MB_YESNO), IDNO);
    EXPECT_EQ(Failures().size(), 1u);
}

TEST_F(WinsimUserTest, TheBrowserConfirmsOnlyExistingFolders) {
    winsim::ExpectBrowser().Pick("C:\\Nowhere");
    BROWSEINFOA info = {};
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
    EXPECT_EQ(Failures(), std::vector<std::string>{"simulated user: the folder browser cannot confirm \"C:\\\\Nowhere\": "
                                                   "no such folder on the machine"});
}

TEST_F(WinsimUserTest, TheDefaultResponderAnswersWhatTheScriptDoesNotCover) {
    winsim::SetDefaultResponder([](const winsim::OpenedWindow& window, winsim::WindowScript* script) {
        if (window.kind == winsim::WindowScript::Kind::Dialog) script->Press(IDOK);
        return true;
    });
    winsim::ExpectDialog(IDD_RESTART).Click(IDC_RESTART_LATER).Press(IDOK);
    CRestartDlg first;
    first.DoModal();
    CRestartDlg second;
    EXPECT_EQ(second.DoModal(), IDOK);
    EXPECT_EQ(MessageBoxA(NULL, "Done.", "Install", MB_OK), IDOK);
    EXPECT_EQ(first.m_nRestartChoice, 1) << "the script goes first";
    EXPECT_EQ(second.m_nRestartChoice, 0);
    EXPECT_TRUE(Failures().empty());
}

}  // namespace
