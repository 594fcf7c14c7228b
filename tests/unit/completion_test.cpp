// How the run ends: the restart dialog, the busy-files notice, the logoff
// or the closing message.
#include <gtest/gtest.h>

#include "app/completion.h"
#include "app/install_app.h"
#include "test_machine.h"
#include "ui/resource.h"
#include "winsim/faults.h"
#include "winsim/resources.h"
#include "winsim/security.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

enum class User { None, OkFirst, OkSecond, Escape, Close };

struct Case {
    const char* name;
    winsim::Platform platform;
    bool restartNeeded;
    bool pathChanged;
    bool privilege;
    User user;                 // what the user does in the restart dialog, if it opens
    std::string message;       // the one message box, if any
    std::string exitWindows;   // the ExitWindowsEx line, if any
};

const char kBusy[] =
    "Some system files were busy and you will have to restart Windows in order to terminate the installation !";
const char kLogoff[] =
    "The Quorlet installation will now effect a Logoff to take the modification of the Path environment variable "
    "into account.";
const char kDone[] = "Installation normally terminated. You can now use Quorlet.";

TEST(CompletionTest, DecisionTable) {
    using P = winsim::Platform;
    const Case cases[] = {
        {"restart, privilege held, first button", P::NT4, true, false, true, User::OkFirst, "", "exitwindows reboot flags=2"},
        {"restart and path changed", P::NT4, true, true, true, User::OkFirst, "", "exitwindows reboot flags=2"},
        {"restart, second button", P::NT4, true, true, true, User::OkSecond, "", ""},
        {"restart dialog escaped", P::NT4, true, false, true, User::Escape, "", ""},
        {"restart dialog closed", P::NT4, true, false, true, User::Close, "", ""},
        {"restart without privilege", P::NT4, true, true, false, User::None, kBusy, ""},
        {"path changed", P::NT4, false, true, true, User::None, kLogoff, "exitwindows logoff flags=0"},
        {"path changed without privilege", P::NT4, false, true, false, User::None, kLogoff, "exitwindows logoff flags=0"},
        {"nothing to do", P::NT4, false, false, false, User::None, kDone, ""},
        {"98, restart", P::Win98, true, false, false, User::OkFirst, "", "exitwindows reboot flags=2"},
        {"98, nothing", P::Win98, false, false, false, User::None, kDone, ""},
    };
    for (const Case& c : cases) {
        TestMachine machine(c.platform);
        InstallerApp app;
        winsim::settings().shutdownPrivilege = c.privilege;
        InstallContext context = {};
        context.isNT = winsim::IsNT();
        context.restartNeeded = c.restartNeeded;
        context.pathChanged = c.pathChanged;
        switch (c.user) {
            case User::None: break;
            case User::OkFirst: winsim::ExpectDialog(IDD_RESTART).Press(IDOK); break;
            case User::OkSecond: winsim::ExpectDialog(IDD_RESTART).Click(IDC_RESTART_LATER).Press(IDOK); break;
            case User::Escape: winsim::ExpectDialog(IDD_RESTART).Escape(); break;
            case User::Close: winsim::ExpectDialog(IDD_RESTART).Close(); break;
        }
        if (!c.message.empty()) winsim::ExpectMessageBox();

        CompleteInstallation(context);

        auto boxes = winsim::TranscriptLines("messagebox");
        if (c.message.empty()) {
            EXPECT_TRUE(boxes.empty()) << c.name;
        } else {
            ASSERT_EQ(boxes.size(), 1u) << c.name;
            EXPECT_EQ(boxes[0], "messagebox caption=\"Install\" icon=information buttons=0 owner=none text=\"" +
                                    c.message + "\"")
                << c.name;
        }
        auto exits = winsim::TranscriptLines("exitwindows");
        if (c.exitWindows.empty()) {
            EXPECT_TRUE(exits.empty()) << c.name;
        } else {
            ASSERT_EQ(exits.size(), 1u) << c.name;
            EXPECT_EQ(exits[0], c.exitWindows) << c.name;
        }
        EXPECT_EQ(winsim::TranscriptLines("dialog open").size(), c.user == User::None ? 0u : 1u) << c.name;
        EXPECT_EQ(winsim::OpenTokenCount(), 0) << c.name;
        EXPECT_EQ(winsim::CallCount("OpenProcessToken"), c.platform == P::Win98 ? 0 : 1) << c.name;
    }
}

TEST(CompletionTest, TheLogoffFollowsTheNotice) {
    TestMachine machine;
    InstallerApp app;
    InstallContext context = {};
    context.isNT = TRUE;
    context.pathChanged = TRUE;
    winsim::ExpectMessageBox();
    CompleteInstallation(context);
    const auto& lines = winsim::Transcript();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2].rfind("messagebox", 0), 0u);
    EXPECT_EQ(lines.back(), "exitwindows logoff flags=0");
}

TEST(CompletionTest, AnUnopenableTokenLeavesTheRestartOffer) {
    TestMachine machine;
    InstallerApp app;
    winsim::settings().tokenOpenable = false;
    InstallContext context = {};
    context.isNT = TRUE;
    context.restartNeeded = TRUE;
    EXPECT_TRUE(MayShutDown(context));
    EXPECT_EQ(winsim::CallCount("AdjustTokenPrivileges"), 0);
}

}  // namespace
