// The destination joins the PATH line of C:\Autoexec.bat on Windows 95/98.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "app/install_app.h"
#include "install_fixture.h"
#include "register/search_path.h"
#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"
#include "winsim/memory.h"
#include "winsim/resources.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

const char kAutoexec[] = "C:\\AUTOEXEC.BAT";
const std::string Q = "\"C:\\Program Files\\Quorlet V4.06\"";

class AutoexecTest : public ::testing::Test {
protected:
    std::unique_ptr<TestMachine> machine;
    std::unique_ptr<CInstallApp> app;
    InstallContext context = {};

    void SetUp() override { Start(); }

    void Start() {
        app.reset();
        machine.reset();
        machine.reset(new TestMachine(winsim::Platform::Win98));
        app.reset(new InstallerApp);
        context = InstallContext();
        std::strcpy(context.destDir, "C:\\Program Files\\Quorlet V4.06");
        context.destDirLength = static_cast<int>(std::strlen(context.destDir));
    }

    // Nothing of the rewrite is left behind on C:.
    static void ExpectNoLeftovers() { EXPECT_TRUE(FilesLike("C:\\", "", ".tmp").empty()); }
};

TEST_F(AutoexecTest, Rewrites) {
    struct Case {
        const char* what;
        std::string before;
        std::string after;
    } cases[] = {
        {"entry before the line end", "PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\nREM x\r\n",
         "PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND;" + Q + "\r\nREM x\r\n"},
        {"before the line's last semicolon", "PATH=C:\\DOS;\r\n", "PATH=C:\\DOS;" + Q + ";\r\n"},
        {"lower case", "@echo off\r\nset path=c:\\dos\r\n", "@echo off\r\nset path=c:\\dos;" + Q + "\r\n"},
        {"CLASSPATH is not PATH", "SET CLASSPATH=C:\\JAVA\r\nPATH=C:\\DOS\r\n",
         "SET CLASSPATH=C:\\JAVA\r\nPATH=C:\\DOS;" + Q + "\r\n"},
        {"only a CLASSPATH", "SET CLASSPATH=C:\\JAVA\r\n", "set PATH=" + Q + "\r\nSET CLASSPATH=C:\\JAVA\r\n"},
        {"unquoted destination", "PATH=C:\\Program Files\\Quorlet V4.06\r\n",
         "PATH=C:\\Program Files\\Quorlet V4.06;" + Q + "\r\n"},
        {"quoted destination on another line", "REM " + Q + "\r\nPATH=C:\\DOS\r\n",
         "REM " + Q + "\r\nPATH=C:\\DOS;" + Q + "\r\n"},
        {"last line without CR LF", "@ECHO OFF\r\nPATH=C:\\DOS", "@ECHO OFF\r\nPATH=C:\\DOS;" + Q},
        {"empty PATH=", "PATH=\r\n", "PATH=;" + Q + "\r\n"},
        {"empty file", "", "set PATH=" + Q + "\r\n"},
        {"no PATH line", "@ECHO OFF\r\nPROMPT $P$G\r\n", "set PATH=" + Q + "\r\n@ECHO OFF\r\nPROMPT $P$G\r\n"},
        {"bytes after a zero byte", std::string("PATH=C:\\DOS\r\n\0tail\xFF\r\n", 20),
         "PATH=C:\\DOS;" + Q + std::string("\r\n\0tail\xFF\r\n", 9)},
        {"a zero byte before the PATH line", std::string("REM\0PATH=C:\\DOS\r\n", 17),
         "set PATH=" + Q + "\r\n" + std::string("REM\0PATH=C:\\DOS\r\n", 17)},
        {"line feeds alone", "@echo off\nPATH=C:\\DOS\nREM x\n", "@echo off\nPATH=C:\\DOS;" + Q + "\nREM x\n"},
    };
    for (const auto& c : cases) {
        Start();
        winsim::WriteFile(kAutoexec, c.before);
        EXPECT_TRUE(UpdateAutoexec(context)) << c.what;
        EXPECT_EQ(winsim::ReadFile(kAutoexec), c.after) << c.what;
        EXPECT_TRUE(context.restartNeeded) << c.what;
        EXPECT_TRUE(winsim::Transcript().empty()) << c.what;
        ExpectNoLeftovers();
    }
}

TEST_F(AutoexecTest, NothingToDo) {
    struct Case {
        const char* what;
        std::string content;  // empty with `exists` false: no file
        bool exists;
    } cases[] = {
        {"the quoted destination on the PATH line", "PATH=C:\\DOS;" + Q + "\r\n", true},
        {"in another letter case", "path=c:\\dos;\"c:\\program files\\QUORLET V4.06\";\r\n", true},
        {"no Autoexec.bat", "", false},
    };
    for (const auto& c : cases) {
        Start();
        if (c.exists) winsim::WriteFile(kAutoexec, c.content);
        EXPECT_TRUE(UpdateAutoexec(context)) << c.what;
        EXPECT_FALSE(context.restartNeeded) << c.what;
        EXPECT_EQ(winsim::FileExists(kAutoexec), c.exists) << c.what;
        if (c.exists) {
            EXPECT_EQ(winsim::ReadFile(kAutoexec), c.content);
        }
        EXPECT_TRUE(winsim::FileWrites().empty() || c.exists) << c.what;
    }
}

TEST_F(AutoexecTest, AnUnreadableFileIsPassedOver) {
    winsim::WriteFile(kAutoexec, "PATH=C:\\DOS\r\n");
    winsim::FailCall("ReadFile", ERROR_READ_FAULT);
    EXPECT_TRUE(UpdateAutoexec(context));
    EXPECT_FALSE(context.restartNeeded);
    EXPECT_EQ(winsim::ReadFile(kAutoexec), "PATH=C:\\DOS\r\n");
    EXPECT_EQ(winsim::LiveGlobalBlocks(), 0) << "the block of a short read is freed";
}

TEST_F(AutoexecTest, FailuresLeaveTheFileAsItWas) {
    const std::string before = "@ECHO OFF\r\nPATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n";
    struct Case {
        const char* what;
        std::function<void()> fault;
        std::string message;
    } cases[] = {
        {"write fails", [] { winsim::FailCall("WriteFile", ERROR_DISK_FULL); },
         "Write error on file C:\\Autoexec.bat : There is not enough space on the disk.\r\n"},
        {"read-only file", [] { SetFileAttributesA(kAutoexec, FILE_ATTRIBUTE_READONLY); },
         "Could not create file C:\\Autoexec.bat : Access is denied.\r\n"},
        {"denied", [] { winsim::DenyAccess(kAutoexec); },
         "Could not create file C:\\Autoexec.bat : Access is denied.\r\n"},
        {"the new file cannot take the name", [] { winsim::FailCall("MoveFileA", ERROR_ACCESS_DENIED, 1); },
         "Write error on file C:\\Autoexec.bat : Access is denied.\r\n"},
    };
    for (const auto& c : cases) {
        Start();
        winsim::WriteFile(kAutoexec, before);
        c.fault();
        winsim::ExpectMessageBox();
        EXPECT_FALSE(UpdateAutoexec(context)) << c.what;
        EXPECT_EQ(winsim::TranscriptLines("messagebox"), std::vector<std::string>{StopBox(c.message)}) << c.what;
        EXPECT_EQ(winsim::ReadFile(kAutoexec), before) << c.what;
        EXPECT_TRUE(context.restartNeeded) << c.what << ": set before anything is written";
        ExpectNoLeftovers();
    }
}

TEST_F(AutoexecTest, TheFileKeepsItsAttributes) {
    winsim::WriteFile(kAutoexec, "PATH=C:\\DOS\r\n");
    SetFileAttributesA(kAutoexec, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(UpdateAutoexec(context));
    EXPECT_EQ(GetFileAttributesA(kAutoexec), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
}

}  // namespace
