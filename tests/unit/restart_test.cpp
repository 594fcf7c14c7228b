// Replacements queued for the next start of Windows and carried out by the
// simulated restart: PendingFileRenameOperations on Windows NT, the
// [rename] section of Wininit.ini on Windows 95 and 98.
#include <gtest/gtest.h>

#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"
#include "winsim/registry.h"
#include "winsim/restart.h"
#include "winsim/transcript.h"

namespace {

const char kSessionManager[] = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager";
const char kPending[] = "PendingFileRenameOperations";

// A REG_MULTI_SZ: every string closed by a zero byte, then one more.
std::string MultiSz(std::initializer_list<std::string> strings) {
    std::string data;
    for (const auto& text : strings) data += text + std::string(1, '\0');
    return data + std::string(1, '\0');
}

std::string Pending() {
    auto value = winsim::RegGetValue(kSessionManager, kPending);
    if (!value) return "<none>";
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_MULTI_SZ));
    return value->data;
}

TEST(DelayedMoveTest, RecordedAsNtRecordsItAfterOtherPrograms) {
    TestMachine machine;
    // Another program's deletion is queued already.
    winsim::RegSetValue(kSessionManager, kPending, REG_MULTI_SZ, MultiSz({"\\??\\C:\\other.tmp", ""}));
    winsim::WriteFile("C:\\WINNT\\system32\\tem1.TMP", "new");
    winsim::WriteFile("C:\\WINNT\\system32\\Mfc42.dll", "old");
    ASSERT_TRUE(MoveFileExA("C:\\WINNT\\system32\\tem1.TMP", "C:\\WINNT\\system32\\Mfc42.dll",
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
    ASSERT_TRUE(MoveFileExA("c:\\winnt\\SYSTEM32\\x.tmp", "C:\\WINNT\\y.tmp", MOVEFILE_DELAY_UNTIL_REBOOT));
    ASSERT_TRUE(MoveFileExA("C:\\gone.tmp", nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ(Pending(), MultiSz({"\\??\\C:\\other.tmp", "", "\\??\\C:\\WINNT\\system32\\tem1.TMP",
                                  "!\\??\\C:\\WINNT\\system32\\Mfc42.dll", "\\??\\C:\\winnt\\SYSTEM32\\x.tmp",
                                  "\\??\\C:\\WINNT\\y.tmp", "\\??\\C:\\gone.tmp", ""}));
    // Nothing moves before the restart.
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\system32\\Mfc42.dll"), "old");
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\system32\\tem1.TMP"), "new");
}

TEST(DelayedMoveTest, RefusedWithoutWriteAccessToTheKey) {
    TestMachine machine;
    winsim::RegCreateKey(kSessionManager);
    winsim::RegDenyAccess(kSessionManager);
    SetLastError(0);
    EXPECT_FALSE(MoveFileExA("C:\\a.tmp", "C:\\b.dll", MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Pending(), "<none>");
}

TEST(DelayedMoveTest, OnlyOnWindowsNt) {
    TestMachine machine(winsim::Platform::Win98);
    EXPECT_FALSE(MoveFileExA("C:\\a.tmp", "C:\\b.dll", MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    EXPECT_EQ(Pending(), "<none>");
}

TEST(RestartTest, NtCarriesOutThePendingOperationsInOrder) {
    TestMachine machine;
    winsim::WriteFile("C:\\WINNT\\system32\\Mfc42.dll", "old");
    winsim::WriteFile("C:\\WINNT\\system32\\tem1.TMP", "new");
    winsim::WriteFile("C:\\WINNT\\system32\\tem2.TMP", "second");
    winsim::WriteFile("C:\\keep.txt", "kept");
    winsim::WriteFile("C:\\junk.tmp", "junk");
    MoveFileExA("C:\\junk.tmp", nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    MoveFileExA("C:\\WINNT\\system32\\tem1.TMP", "C:\\WINNT\\system32\\Mfc42.dll",
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
    // Without "!" an existing target is not replaced.
    MoveFileExA("C:\\WINNT\\system32\\tem2.TMP", "C:\\keep.txt", MOVEFILE_DELAY_UNTIL_REBOOT);
    HANDLE open = CreateFileA("C:\\WINNT\\system32\\Mfc42.dll", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);  // in use until the restart ends every process
    winsim::Restart();
    EXPECT_FALSE(winsim::FileExists("C:\\junk.tmp"));
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\system32\\Mfc42.dll"), "new");
    EXPECT_FALSE(winsim::FileExists("C:\\WINNT\\system32\\tem1.TMP"));
    EXPECT_EQ(winsim::ReadFile("C:\\keep.txt"), "kept");
    EXPECT_EQ(Pending(), "<none>");
    EXPECT_EQ(winsim::TranscriptLines("restart"),
              (std::vector<std::string>{
                  "restart windows=nt",
                  "restart delete path=\"C:\\\\junk.tmp\" result=done",
                  "restart rename from=\"C:\\\\WINNT\\\\system32\\\\tem1.TMP\" "
                  "to=\"C:\\\\WINNT\\\\system32\\\\Mfc42.dll\" result=done",
                  "restart rename from=\"C:\\\\WINNT\\\\system32\\\\tem2.TMP\" to=\"C:\\\\keep.txt\" result=error=183",
              }));
    // Once carried out, a second restart has nothing to do.
    winsim::Restart();
    EXPECT_EQ(winsim::TranscriptLines("restart").size(), 5u);
}

TEST(RestartTest, Windows98CarriesOutTheRenameSectionOfWininit) {
    TestMachine machine(winsim::Platform::Win98);
    winsim::WriteFile("C:\\WINDOWS\\SYSTEM\\Mfc42.dll", "old");
    winsim::WriteFile("C:\\WINDOWS\\SYSTEM\\tem1.TMP", "new");
    winsim::WriteFile("C:\\Program Files\\Other App\\stale.dat", "stale");
    winsim::WriteFile("C:\\WINDOWS\\setup.tmp", "not in the rename section");
    const std::string ini =
        "[CombineVxDs]\r\n"
        "NUL=C:\\WINDOWS\\setup.tmp\r\n"
        "[Rename]\r\n"
        "; a comment\r\n"
        "NUL=C:\\PROGRA~1\\OTHERA~1\\STALE.DAT\r\n"
        "  nul = C:\\missing.tmp  \r\n"
        "NUL=C:\\WINDOWS\\SYSTEM\\Mfc42.dll\r\n"
        "C:\\WINDOWS\\SYSTEM\\Mfc42.dll=C:\\WINDOWS\\SYSTEM\\tem1.TMP";
    winsim::WriteFile("C:\\WINDOWS\\Wininit.ini", ini);
    winsim::WriteFile("C:\\WINDOWS\\wininit.bak", "last time's");
    winsim::Restart();
    EXPECT_FALSE(winsim::FileExists("C:\\Program Files\\Other App\\stale.dat"));
    EXPECT_EQ(winsim::ReadFile("C:\\WINDOWS\\SYSTEM\\Mfc42.dll"), "new");
    EXPECT_FALSE(winsim::FileExists("C:\\WINDOWS\\SYSTEM\\tem1.TMP"));
    EXPECT_EQ(winsim::ReadFile("C:\\WINDOWS\\setup.tmp"), "not in the rename section");
    EXPECT_FALSE(winsim::FileExists("C:\\WINDOWS\\Wininit.ini"));
    EXPECT_EQ(winsim::ReadFile("C:\\WINDOWS\\Wininit.bak"), ini);
    EXPECT_EQ(winsim::TranscriptLines("restart"),
              (std::vector<std::string>{
                  "restart windows=9x",
                  "restart delete path=\"C:\\\\PROGRA~1\\\\OTHERA~1\\\\STALE.DAT\" result=done",
                  "restart delete path=\"C:\\\\missing.tmp\" result=error=2",
                  "restart delete path=\"C:\\\\WINDOWS\\\\SYSTEM\\\\Mfc42.dll\" result=done",
                  "restart rename from=\"C:\\\\WINDOWS\\\\SYSTEM\\\\tem1.TMP\" "
                  "to=\"C:\\\\WINDOWS\\\\SYSTEM\\\\Mfc42.dll\" result=done",
                  "restart rename from=\"C:\\\\WINDOWS\\\\Wininit.ini\" to=\"C:\\\\WINDOWS\\\\Wininit.bak\" result=done",
              }));
}

TEST(RestartTest, Windows95WithoutWininitDoesNothing) {
    TestMachine machine(winsim::Platform::Win95);
    winsim::Restart();
    EXPECT_EQ(winsim::TranscriptLines("restart"), std::vector<std::string>{"restart windows=9x"});
}

}  // namespace
