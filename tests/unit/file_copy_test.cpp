// CopyFileA, GetTempFileNameA, GetShortPathNameA and MoveFileA/MoveFileExA
// without delay, on the simulated disks.
#include <gtest/gtest.h>

#include <cstring>

#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"

namespace {

TEST(CopyFileTest, CopiesContentAndAttributes) {
    TestMachine machine;
    winsim::WriteFile("D:\\src\\a.bin", std::string("\0\x01zz", 4));
    ASSERT_TRUE(CopyFileA("D:\\src\\a.bin", "C:\\dst.bin", TRUE));
    EXPECT_EQ(winsim::ReadFile("C:\\dst.bin"), std::string("\0\x01zz", 4));
    EXPECT_EQ(GetFileAttributesA("C:\\dst.bin"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));

    // A read-only, hidden source gives a read-only, hidden copy.
    SetFileAttributesA("D:\\src\\a.bin", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(CopyFileA("D:\\src\\a.bin", "C:\\ro.bin", FALSE));
    EXPECT_EQ(GetFileAttributesA("C:\\ro.bin"),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
}

TEST(CopyFileTest, OverwritesOnlyWhenAllowed) {
    TestMachine machine;
    winsim::WriteFile("D:\\new.txt", "new");
    winsim::WriteFile("C:\\old.txt", "old and longer");
    SetLastError(0);
    EXPECT_FALSE(CopyFileA("D:\\new.txt", "C:\\OLD.TXT", TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(winsim::ReadFile("C:\\old.txt"), "old and longer");
    ASSERT_TRUE(CopyFileA("D:\\new.txt", "C:\\OLD.TXT", FALSE));
    EXPECT_EQ(winsim::ReadFile("C:\\old.txt"), "new");
    EXPECT_TRUE(winsim::FileExists("C:\\old.txt"));  // the stored name stays
}

TEST(CopyFileTest, FailuresGiveTheErrorsWindowsGives) {
    TestMachine machine;
    winsim::WriteFile("D:\\a.txt", "a");
    winsim::WriteFile("C:\\readonly.txt", "r");
    SetFileAttributesA("C:\\readonly.txt", FILE_ATTRIBUTE_READONLY);
    winsim::WriteFile("C:\\denied\\x.txt", "x");
    winsim::DenyAccess("C:\\denied");
    winsim::MakeDirectory("C:\\folder");
    struct Case {
        const char* from;
        const char* to;
        DWORD error;
    } cases[] = {
        {"D:\\missing.txt", "C:\\x.txt", ERROR_FILE_NOT_FOUND},
        {"D:\\nowhere\\a.txt", "C:\\x.txt", ERROR_PATH_NOT_FOUND},
        {"D:\\a.txt", "C:\\nowhere\\x.txt", ERROR_PATH_NOT_FOUND},
        {"D:\\a.txt", "C:\\readonly.txt", ERROR_ACCESS_DENIED},
        {"D:\\a.txt", "C:\\denied\\x.txt", ERROR_ACCESS_DENIED},
        {"D:\\a.txt", "C:\\folder", ERROR_ACCESS_DENIED},
        {"D:\\a.txt", "D:\\A.TXT", ERROR_SHARING_VIOLATION},
        {"D:\\a.txt", "Q:\\x.txt", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_FALSE(CopyFileA(c.from, c.to, FALSE)) << c.from << " -> " << c.to;
        EXPECT_EQ(GetLastError(), c.error) << c.from << " -> " << c.to;
    }
    EXPECT_EQ(winsim::ReadFile("C:\\readonly.txt"), "r");
    EXPECT_EQ(winsim::ReadFile("C:\\denied\\x.txt"), "x");
}

TEST(CopyFileTest, AFileHeldOpenWithoutSharingIsNotCopied) {
    TestMachine machine;
    winsim::WriteFile("D:\\a.txt", "a");
    HANDLE held = CreateFileA("D:\\a.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(CopyFileA("D:\\a.txt", "C:\\b.txt", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(held);
    EXPECT_TRUE(CopyFileA("D:\\a.txt", "C:\\b.txt", FALSE));
}

TEST(CopyFileTest, InjectedFailure) {
    TestMachine machine;
    winsim::WriteFile("D:\\a.txt", "a");
    winsim::FailCall("CopyFileA", ERROR_DISK_FULL, 1);
    EXPECT_TRUE(CopyFileA("D:\\a.txt", "C:\\1.txt", FALSE));
    EXPECT_FALSE(CopyFileA("D:\\a.txt", "C:\\2.txt", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_FALSE(winsim::FileExists("C:\\2.txt"));
    EXPECT_TRUE(CopyFileA("D:\\a.txt", "C:\\3.txt", FALSE));
}

TEST(TempFileNameTest, MakesAFreeNameAndTheEmptyFile) {
    TestMachine machine;
    winsim::MakeDirectory("C:\\WINNT\\system32");
    winsim::WriteFile("C:\\WINNT\\system32\\~x2.TMP", "taken");
    char name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameA("C:\\WINNT\\system32", "temp", 0, name), 1u);
    EXPECT_STREQ(name, "C:\\WINNT\\system32\\tem1.TMP");
    EXPECT_TRUE(winsim::FileExists(name));
    EXPECT_EQ(winsim::ReadFile(name), "");
    // 2 is taken: the next free number.
    EXPECT_EQ(GetTempFileNameA("C:\\WINNT\\system32\\", "~x", 0, name), 3u);
    EXPECT_STREQ(name, "C:\\WINNT\\system32\\~x3.TMP");
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\system32\\~x2.TMP"), "taken");
}

TEST(TempFileNameTest, AGivenNumberOnlyFormsTheName) {
    TestMachine machine;
    char name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameA("C:\\nowhere", "PRE", 0xBEEF, name), 0xBEEFu);
    EXPECT_STREQ(name, "C:\\nowhere\\PREBEEF.TMP");
    EXPECT_FALSE(winsim::FileExists(name));
}

TEST(TempFileNameTest, Failures) {
    TestMachine machine;
    winsim::WriteFile("C:\\file.txt", "");
    char name[MAX_PATH];
    for (const char* folder : {"C:\\nowhere", "C:\\file.txt", "Q:\\"}) {
        SetLastError(0);
        EXPECT_EQ(GetTempFileNameA(folder, "tmp", 0, name), 0u) << folder;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY)) << folder;
    }
    winsim::MakeDirectory("C:\\locked");
    winsim::DenyAccess("C:\\locked");
    EXPECT_EQ(GetTempFileNameA("C:\\locked", "tmp", 0, name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    winsim::FailCall("GetTempFileNameA", ERROR_FILE_EXISTS);
    EXPECT_EQ(GetTempFileNameA("C:\\", "tmp", 0, name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
}

TEST(ShortPathTest, AliasesAsWindowsMakesThem) {
    TestMachine machine;
    winsim::WriteFile("C:\\Program Files\\Quorlet V4.06\\Readme.txt", "r");
    winsim::WriteFile("C:\\Program Files\\Quorlet V4.06\\Long name.document", "d");
    winsim::WriteFile("C:\\Program Files\\Quorlet V4.06\\a+b;c.txt", "p");
    winsim::MakeDirectory("C:\\Programs and things");
    winsim::MakeDirectory("C:\\PROGRA~1.X");  // an 8.3 name that looks like an alias
    winsim::MakeDirectory("C:\\.hidden folder");
    struct Case {
        const char* path;
        const char* shortPath;
    } cases[] = {
        {"C:\\Program Files\\Quorlet V4.06\\Readme.txt", "C:\\PROGRA~1\\QUORLE~1.06\\Readme.txt"},
        {"c:\\program files\\Quorlet V4.06\\readme.TXT", "c:\\PROGRA~1\\QUORLE~1.06\\readme.TXT"},
        {"C:\\Programs and things", "C:\\PROGRA~2"},
        {"C:\\Program Files\\Quorlet V4.06\\Long name.document", "C:\\PROGRA~1\\QUORLE~1.06\\LONGNA~1.DOC"},
        {"C:\\Program Files\\Quorlet V4.06\\a+b;c.txt", "C:\\PROGRA~1\\QUORLE~1.06\\A_B_C~1.TXT"},
        {"C:\\.hidden folder", "C:\\HIDDEN~1"},
        {"C:\\PROGRA~1\\QUORLE~1.06\\", "C:\\PROGRA~1\\QUORLE~1.06\\"},
        {"C:\\", "C:\\"},
    };
    for (const auto& c : cases) {
        char buffer[MAX_PATH] = {};
        EXPECT_EQ(GetShortPathNameA(c.path, buffer, MAX_PATH), std::strlen(c.shortPath)) << c.path;
        EXPECT_STREQ(buffer, c.shortPath) << c.path;
    }
    // The alias names the file for every other call too.
    EXPECT_EQ(winsim::ReadFile("C:\\PROGRA~1\\QUORLE~1.06\\README.TXT"), "r");
    EXPECT_NE(GetFileAttributesA("C:\\progra~2"), INVALID_FILE_ATTRIBUTES);
}

TEST(ShortPathTest, AliasesStayWhenOtherNamesCome) {
    TestMachine machine;
    winsim::MakeDirectory("C:\\Program Files");
    char buffer[MAX_PATH];
    GetShortPathNameA("C:\\Program Files", buffer, MAX_PATH);
    EXPECT_STREQ(buffer, "C:\\PROGRA~1");
    // A name that sorts before it does not take its alias away.
    winsim::MakeDirectory("C:\\Program Data");
    GetShortPathNameA("C:\\Program Data", buffer, MAX_PATH);
    EXPECT_STREQ(buffer, "C:\\PROGRA~2");
    GetShortPathNameA("C:\\Program Files", buffer, MAX_PATH);
    EXPECT_STREQ(buffer, "C:\\PROGRA~1");
}

TEST(ShortPathTest, MissingPathsAndSmallBuffers) {
    TestMachine machine;
    winsim::WriteFile("C:\\Program Files\\x.txt", "x");
    char buffer[MAX_PATH] = "untouched";
    SetLastError(0);
    EXPECT_EQ(GetShortPathNameA("C:\\Program Files\\missing.txt", buffer, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetShortPathNameA("C:\\No folder\\x.txt", buffer, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    // Too small: the size needed, terminator included, and nothing written.
    EXPECT_EQ(GetShortPathNameA("C:\\Program Files\\x.txt", buffer, 10), 18u);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(GetShortPathNameA("C:\\Program Files\\x.txt", buffer, 18), 17u);
    EXPECT_STREQ(buffer, "C:\\PROGRA~1\\x.txt");
    // The same buffer for both.
    char same[MAX_PATH] = "C:\\Program Files\\x.txt";
    EXPECT_EQ(GetShortPathNameA(same, same, MAX_PATH), 17u);
    EXPECT_STREQ(same, "C:\\PROGRA~1\\x.txt");
}

TEST(MoveFileTest, RenamesAndReplacesOnlyWhenAsked) {
    TestMachine machine;
    winsim::WriteFile("C:\\a.txt", "a");
    winsim::WriteFile("C:\\b.txt", "b");
    SetLastError(0);
    EXPECT_FALSE(MoveFileExA("C:\\a.txt", "C:\\b.txt", 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(MoveFileA("C:\\a.txt", "C:\\b.txt"));
    ASSERT_TRUE(MoveFileExA("C:\\a.txt", "C:\\b.txt", MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(winsim::FileExists("C:\\a.txt"));
    EXPECT_EQ(winsim::ReadFile("C:\\b.txt"), "a");
    // Across drives only when a copy is allowed.
    EXPECT_FALSE(MoveFileExA("C:\\b.txt", "D:\\b.txt", 0));
    ASSERT_TRUE(MoveFileA("C:\\b.txt", "D:\\moved.txt"));
    EXPECT_EQ(winsim::ReadFile("D:\\moved.txt"), "a");
    EXPECT_FALSE(winsim::FileExists("C:\\b.txt"));
    // A change of letter case only.
    ASSERT_TRUE(MoveFileA("D:\\moved.txt", "D:\\MOVED.TXT"));
    EXPECT_EQ(winsim::HostPath("D:\\moved.txt").substr(winsim::HostPath("D:\\moved.txt").size() - 9), "MOVED.TXT");
}

TEST(MoveFileTest, ReadOnlyTargetsAndWindows95) {
    TestMachine machine;
    winsim::WriteFile("C:\\a.txt", "a");
    winsim::WriteFile("C:\\b.txt", "b");
    SetFileAttributesA("C:\\b.txt", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(MoveFileExA("C:\\a.txt", "C:\\b.txt", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(winsim::ReadFile("C:\\b.txt"), "b");
    winsim::SetPlatform(winsim::Platform::Win95, false);
    EXPECT_FALSE(MoveFileExA("C:\\a.txt", "C:\\c.txt", 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    EXPECT_TRUE(MoveFileA("C:\\a.txt", "C:\\c.txt"));
}

}  // namespace
