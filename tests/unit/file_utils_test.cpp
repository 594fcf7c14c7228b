// Path composition, whole-file loading and folder-tree creation.
#include <gtest/gtest.h>

#include <string>

#include "test_machine.h"
#include "util/file_utils.h"
#include "util/path_compose.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"
#include "winsim/memory.h"

namespace {

TEST(PathComposeTest, Cases) {
    const std::string folder259(259, 'f');
    const std::string folder250(250, 'f');
    struct Case {
        std::string folder;
        std::string name;
        std::string expected;
    } cases[] = {
        {"D:\\Setup", "Mfc42.dll", "D:\\Setup\\Mfc42.dll"},
        {"A:", "Mfc42.dll", "A:\\Mfc42.dll"},
        {"D:\\", "Mfc42.dll", "D:\\\\Mfc42.dll"},  // the separator is always added
        {folder259, "Mfc42.dll", folder259},
        {folder250, "Mfc42.dll", folder250 + "\\Mfc42.dl"},
        {std::string(300, 'x'), "y", std::string(259, 'x')},
    };
    for (const auto& c : cases) {
        char path[MAX_PATH + 8];
        std::fill(path, path + sizeof path, '#');
        PathJoin(path, c.folder.c_str(), c.name.c_str());
        EXPECT_EQ(std::string(path), c.expected);
        EXPECT_EQ(path[MAX_PATH], '#') << "wrote past the 260-byte buffer";
    }
}

TEST(PathComposeTest, AppendsPieceByPieceWithinTheBuffer) {
    char path[MAX_PATH];
    PathStart(path, "C:\\Program Files");
    PathAppend(path, "\\");
    PathAppend(path, "Quorlet V4.06");
    EXPECT_STREQ(path, "C:\\Program Files\\Quorlet V4.06");
    PathStart(path, std::string(258, 'a').c_str());
    PathAppend(path, "bcd");
    EXPECT_EQ(std::string(path), std::string(258, 'a') + "b");
}

class LoadWholeFileTest : public ::testing::Test {
protected:
    TestMachine machine;
    HGLOBAL block = nullptr;
    char* data = nullptr;

    void Release() {
        GlobalUnlock(block);
        GlobalFree(block);
    }
};

TEST_F(LoadWholeFileTest, LoadsTheContentFollowedByAZeroByte) {
    winsim::WriteFile("C:\\AUTOEXEC.BAT", "PATH=C:\\DOS\r\n");
    ASSERT_EQ(LoadWholeFile("C:\\Autoexec.bat", &block, &data), LOAD_OK);
    EXPECT_STREQ(data, "PATH=C:\\DOS\r\n");
    EXPECT_EQ(GlobalSize(block), 14u);
    EXPECT_EQ(winsim::OpenFileHandleCount(), 0);
    Release();
    EXPECT_EQ(winsim::LiveGlobalBlocks(), 0);
}

TEST_F(LoadWholeFileTest, EmptyFileGivesOneZeroByte) {
    winsim::WriteFile("C:\\empty.txt", "");
    ASSERT_EQ(LoadWholeFile("C:\\empty.txt", &block, &data), LOAD_OK);
    EXPECT_EQ(GlobalSize(block), 1u);
    EXPECT_EQ(data[0], '\0');
    Release();
}

TEST_F(LoadWholeFileTest, FailuresAndWhatTheyLeave) {
    winsim::WriteFile("C:\\file.txt", "content");
    struct Case {
        const char* api;  // the call made to fail, or none
        const char* path;
        int expected;
        int blocksLeft;
    } cases[] = {
        {nullptr, "C:\\missing.txt", LOAD_OPEN_FAILED, 0},
        {"GlobalAlloc", "C:\\file.txt", LOAD_NO_MEMORY, 0},
        {"GlobalLock", "C:\\file.txt", LOAD_LOCK_FAILED, 0},
        {"ReadFile", "C:\\file.txt", LOAD_READ_FAILED, 1},
    };
    for (const auto& c : cases) {
        if (c.api) winsim::FailCall(c.api, ERROR_NOT_ENOUGH_MEMORY);
        block = nullptr;
        data = nullptr;
        EXPECT_EQ(LoadWholeFile(c.path, &block, &data), c.expected) << (c.api ? c.api : c.path);
        EXPECT_EQ(winsim::LiveGlobalBlocks(), c.blocksLeft) << (c.api ? c.api : c.path);
        EXPECT_EQ(winsim::OpenFileHandleCount(), 0);
        if (c.blocksLeft) Release();
        winsim::ClearFaults();
    }
}

TEST_F(LoadWholeFileTest, FileLockedAgainstReadingCannotBeOpened) {
    winsim::WriteFile("C:\\locked.txt", "x");
    HANDLE holder = CreateFileA("C:\\locked.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(LoadWholeFile("C:\\locked.txt", &block, &data), LOAD_OPEN_FAILED);
    CloseHandle(holder);
}

TEST(GetOpenFileSizeTest, LeavesThePositionWhereItWas) {
    TestMachine machine;
    winsim::WriteFile("C:\\f.bin", std::string(1000, 'x'));
    HANDLE file = CreateFileA("C:\\f.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(_llseek(static_cast<HFILE>(reinterpret_cast<LONG_PTR>(file)), 123, FILE_BEGIN), 123);
    EXPECT_EQ(GetOpenFileSize(file), 1000);
    EXPECT_EQ(_llseek(static_cast<HFILE>(reinterpret_cast<LONG_PTR>(file)), 0, FILE_CURRENT), 123);
    CloseHandle(file);
}

class CreateDirectoryTreeTest : public ::testing::Test {
protected:
    TestMachine machine;

    DWORD Create(const std::string& path) {
        char buffer[MAX_PATH];
        lstrcpynA(buffer, path.c_str(), MAX_PATH);
        DWORD result = CreateDirectoryTree(buffer);
        EXPECT_EQ(std::string(buffer), path) << "the path must come back unchanged";
        return result;
    }
};

TEST_F(CreateDirectoryTreeTest, CreatesTheLevelsBeforeTheLastOnly) {
    EXPECT_EQ(Create("C:\\Program Files\\Quorlet V4.06"), 0u);
    EXPECT_TRUE(winsim::DirectoryExists("C:\\Program Files"));
    EXPECT_FALSE(winsim::DirectoryExists("C:\\Program Files\\Quorlet V4.06"));

    EXPECT_EQ(Create("C:\\A\\B\\C"), 0u);
    EXPECT_TRUE(winsim::DirectoryExists("C:\\A\\B"));
    EXPECT_FALSE(winsim::DirectoryExists("C:\\A\\B\\C"));

    EXPECT_EQ(Create("C:\\X\\Y\\"), 0u);  // a trailing backslash makes the last level one to create
    EXPECT_TRUE(winsim::DirectoryExists("C:\\X\\Y"));
}

TEST_F(CreateDirectoryTreeTest, ShortPathsCreateNothing) {
    for (const char* path : {"C:", "C:\\", "C:\\A", "C:\\Folder"}) {
        EXPECT_EQ(Create(path), 0u) << path;
    }
    EXPECT_FALSE(winsim::DirectoryExists("C:\\A"));
    EXPECT_FALSE(winsim::DirectoryExists("C:\\Folder"));
}

TEST_F(CreateDirectoryTreeTest, ReturnsTheCodeOfTheFailingLevel) {
    EXPECT_EQ(Create("Z:\\Program Files\\Quorlet V4.06"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    winsim::DenyAccess("C:\\Locked");
    winsim::MakeDirectory("C:\\Open");
    EXPECT_EQ(Create("C:\\Open\\Locked\\Below\\Last"), 0u) << "C:\\Open\\Locked is not denied";
    winsim::DenyAccess("C:\\Open\\Deny");
    EXPECT_EQ(Create("C:\\Open\\Deny\\Below\\Last"), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(winsim::DirectoryExists("C:\\Open\\Deny"));
}

TEST_F(CreateDirectoryTreeTest, NetworkPathStartsBelowTheShare) {
    machine.AddDrive('N');
    winsim::MapShare("\\\\server\\share", winsim::HostPath("N:\\"));
    EXPECT_EQ(Create("\\\\server\\share\\Apps\\Quorlet\\Last"), 0u);
    EXPECT_TRUE(winsim::DirectoryExists("\\\\server\\share\\Apps\\Quorlet"));
    EXPECT_EQ(winsim::CallCount("CreateDirectoryA"), 2) << "neither the server nor the share is created";
}

}  // namespace
