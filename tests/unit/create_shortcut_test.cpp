// One shell link through the shell's link object: what it writes, and that
// every failure leaves COM balanced and no object alive.
#include <gtest/gtest.h>

#include "lnk_reader.h"
#include "register/create_shortcut.h"
#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"
#include "winsim/shell.h"

namespace {

TEST(CreateShortcutTest, WritesTheLink) {
    TestMachine machine;
    winsim::MakeDirectory("C:\\Menu");
    EXPECT_EQ(CreateShortcut("C:\\WINNT\\Remvex406.exe", "C:\\Menu\\Uninstall.lnk", "Uninstall",
                             "/Quorlet V4.06 /C:\\Q", "", 0),
              S_OK);
    auto link = ParseLink(winsim::ReadFile("C:\\Menu\\Uninstall.lnk"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, "C:\\WINNT\\Remvex406.exe");
    EXPECT_EQ(link->description, "Uninstall");
    EXPECT_EQ(link->arguments, "/Quorlet V4.06 /C:\\Q");
    EXPECT_EQ(link->iconLocation, "");
    EXPECT_EQ(link->showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(winsim::CallCount("IShellLinkA::SetIconLocation"), 0) << "no icon path, no icon call";
    EXPECT_EQ(winsim::ComInitializeDepth(), 0);
    EXPECT_EQ(winsim::LiveComObjects(), 0);

    EXPECT_EQ(CreateShortcut("C:\\Q\\Quorlet.exe", "C:\\Menu\\Q.lnk", "Q", "", "C:\\Q\\Quorlet.exe", 2), S_OK);
    link = ParseLink(winsim::ReadFile("C:\\Menu\\Q.lnk"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->iconLocation, "C:\\Q\\Quorlet.exe");
    EXPECT_EQ(link->iconIndex, 2);
}

TEST(CreateShortcutTest, EveryFailingStepIsReturnedAndCleanedUp) {
    const char* steps[] = {"CoCreateInstance",           "QueryInterface",           "IShellLinkA::SetPath",
                           "IShellLinkA::SetDescription", "IShellLinkA::SetArguments", "IShellLinkA::SetIconLocation",
                           "IShellLinkA::SetShowCmd",     "IPersistFile::Save"};
    for (const char* step : steps) {
        TestMachine machine;
        winsim::MakeDirectory("C:\\Menu");
        winsim::FailCall(step, static_cast<DWORD>(0x80070005u));
        EXPECT_EQ(CreateShortcut("C:\\t.exe", "C:\\Menu\\x.lnk", "d", "a", "C:\\i.ico", 0),
                  static_cast<HRESULT>(0x80070005u))
            << step;
        EXPECT_FALSE(winsim::FileExists("C:\\Menu\\x.lnk")) << step;
        EXPECT_EQ(winsim::ComInitializeDepth(), 0) << step;
        EXPECT_EQ(winsim::LiveComObjects(), 0) << step;
    }
}

TEST(CreateShortcutTest, AFolderThatDoesNotExist) {
    TestMachine machine;
    EXPECT_EQ(CreateShortcut("C:\\t.exe", "C:\\Nowhere\\x.lnk", "d", "", "", 0),
              HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(winsim::LiveComObjects(), 0);
}

}  // namespace
