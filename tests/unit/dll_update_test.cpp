// The system DLL update: version comparison, the temporary copy, the
// delayed move on Windows NT and Wininit.ini on Windows 95 and 98, and the
// failures of each step.
#include <gtest/gtest.h>

#include <memory>

#include "app/install_app.h"
#include "install/dll_update.h"
#include "install_fixture.h"
#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"
#include "winsim/memory.h"
#include "winsim/registry.h"
#include "winsim/resources.h"
#include "winsim/restart.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

const char kSessionManager[] = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager";

class DllUpdateTest : public ::testing::Test {
protected:
    // A machine whose system directory holds the distribution's own
    // versions of the four DLLs, so that only what a test changes is newer.
    void Start(winsim::Platform platform, const distribution::Options& options = SmallDistribution()) {
        TearDown();
        machine_.reset(new TestMachine(platform));
        app_.reset(new InstallerApp);
        options_ = options;
        PlaceDistribution(options);
        for (const auto& name : distribution::kSystemDlls) PlaceSystemDll(name, distribution::DefaultDllVersion(name));
        context_ = PreparedContext();
    }
    void TearDown() override {
        app_.reset();
        machine_.reset();
    }

    BOOL Update() {
        FileProgress progress = {nullptr, 57, 0};
        BOOL updated = UpdateSystemDlls(context_, progress);
        EXPECT_EQ(winsim::OpenFileHandleCount(), 0);
        EXPECT_EQ(winsim::LiveHeapBlocks(), 0);
        EXPECT_EQ(winsim::LiveGlobalBlocks(), 0);
        return updated;
    }

    std::string System(const std::string& name) const { return std::string(context_.systemDir) + "\\" + name; }
    std::string Source(const std::string& name) const { return distribution::FileContent(name, options_); }
    // The temporary copies left in the system directory.
    std::vector<std::string> TempCopies() const { return FilesLike(context_.systemDir, "tem", ".tmp"); }
    std::string Pending() const {
        auto value = winsim::RegGetValue(kSessionManager, "PendingFileRenameOperations");
        return value ? value->data : "<none>";
    }

    std::unique_ptr<TestMachine> machine_;
    std::unique_ptr<CInstallApp> app_;
    distribution::Options options_;
    InstallContext context_ = {};
};

std::string MultiSz(std::initializer_list<std::string> strings) {
    std::string data;
    for (const auto& text : strings) data += text + std::string(1, '\0');
    return data + std::string(1, '\0');
}

TEST_F(DllUpdateTest, OnlyANewerFirstThreePartsReplaces) {
    struct Case {
        pe::Version source;
        enum { kVersion, kMissing, kUnversioned, kNoFixedInfo } target;
        pe::Version installed;
        bool replaced;
    } cases[] = {
        {{6, 1, 0, 0}, Case::kVersion, {6, 0, 9, 0}, true},
        {{5, 9, 9, 0}, Case::kVersion, {6, 0, 0, 0}, false},
        {{6, 0, 0, 9}, Case::kVersion, {6, 0, 0, 1}, false},  // the fourth part decides nothing
        {{6, 0, 0, 1}, Case::kVersion, {6, 0, 0, 9}, false},
        {{6, 0, 1, 0}, Case::kVersion, {6, 0, 0, 65535}, true},
        {{6, 0, 8665, 0}, Case::kVersion, {6, 0, 8665, 0}, false},
        {{1, 0, 65535, 0}, Case::kVersion, {1, 1, 0, 0}, false},  // parts compare as unsigned numbers
        {{65535, 0, 0, 0}, Case::kVersion, {1, 0, 0, 0}, true},
        {{0, 0, 1, 0}, Case::kMissing, {}, true},
        {{0, 0, 0, 7}, Case::kMissing, {}, false},  // source 0.0.0: not installed at all
        {{1, 0, 0, 0}, Case::kUnversioned, {}, true},
        {{1, 0, 0, 0}, Case::kNoFixedInfo, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.source[0]) + "." + std::to_string(c.source[1]) + "." +
                     std::to_string(c.source[2]) + "." + std::to_string(c.source[3]) + " over case " +
                     std::to_string(&c - cases));
        distribution::Options options = SmallDistribution();
        options.dllVersions["Oleaut32.dll"] = c.source;
        Start(winsim::Platform::NT4, options);
        const std::string target = System("Oleaut32.dll");
        if (c.target == Case::kVersion) PlaceSystemDll("Oleaut32.dll", c.installed);
        if (c.target == Case::kMissing) DeleteFileA(target.c_str());
        if (c.target == Case::kUnversioned) PlaceUnversionedSystemDll("Oleaut32.dll");
        if (c.target == Case::kNoFixedInfo) {
            pe::Options dll;
            dll.dll = true;
            dll.version = pe::VersionResource();
            dll.version->fixedInfo = false;
            winsim::WriteFile(target, pe::BuildImage(dll));
        }
        const std::string before = winsim::ReadFile(target);
        ASSERT_TRUE(Update());
        EXPECT_EQ(context_.restartNeeded, c.replaced ? TRUE : FALSE);
        EXPECT_EQ(winsim::ReadFile(target), before);  // never replaced in place
        ASSERT_EQ(TempCopies().size(), c.replaced ? 1u : 0u);
        if (c.replaced) {
            EXPECT_EQ(winsim::ReadFile(System(TempCopies()[0])), Source("Oleaut32.dll"));
            EXPECT_EQ(Pending(), MultiSz({"\\??\\" + System(TempCopies()[0]), "!\\??\\" + target}));
        } else {
            EXPECT_EQ(Pending(), "<none>");
        }
        EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty()) << winsim::TranscriptText();
    }
}

TEST_F(DllUpdateTest, NtQueuesTheMoveAndTheOldDllStaysUntilTheRestart) {
    distribution::Options options = SmallDistribution();
    options.dllVersions["Mfc42.dll"] = {6, 0, 9999, 0};
    options.dllVersions["Olepro32.dll"] = {5, 1, 0, 0};
    Start(winsim::Platform::NT4, options);
    DeleteFileA(System("Olepro32.dll").c_str());  // not installed yet
    const std::string oldMfc = winsim::ReadFile(System("Mfc42.dll"));
    ASSERT_TRUE(Update());
    EXPECT_TRUE(context_.restartNeeded);
    const std::vector<std::string> temps = TempCopies();
    ASSERT_EQ(temps.size(), 2u);
    EXPECT_EQ(Pending(), MultiSz({"\\??\\" + System(temps[0]), "!\\??\\" + System("Mfc42.dll"),
                                  "\\??\\" + System(temps[1]), "!\\??\\" + System("Olepro32.dll")}));
    EXPECT_EQ(winsim::ReadFile(System("Mfc42.dll")), oldMfc);
    EXPECT_FALSE(winsim::FileExists(System("Olepro32.dll")));

    winsim::Restart();
    EXPECT_EQ(winsim::ReadFile(System("Mfc42.dll")), Source("Mfc42.dll"));
    EXPECT_EQ(winsim::ReadFile(System("Olepro32.dll")), Source("Olepro32.dll"));
    EXPECT_TRUE(TempCopies().empty());
    EXPECT_EQ(Pending(), "<none>");
}

TEST_F(DllUpdateTest, NtAccessDeniedOnTheDelayedMove) {
    distribution::Options options = SmallDistribution();
    options.dllVersions["Mfc42.dll"] = {7, 0, 0, 0};
    options.dllVersions["Msvcrt.dll"] = {7, 0, 0, 0};
    Start(winsim::Platform::NT4, options);
    winsim::RegCreateKey(kSessionManager);
    winsim::RegDenyAccess(kSessionManager);  // a user who is not an administrator
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Update());
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{StopBox("Could not update the C:\\WINNT\\system32\\Mfc42.dll system dll : "
                                               "Access is denied.\r\n Please give write access rights or logon "
                                               "again as administrator !")});
    EXPECT_TRUE(TempCopies().empty());
    EXPECT_TRUE(context_.restartNeeded);  // set before the copy, as the run goes
    EXPECT_EQ(Pending(), "<none>");
}

TEST_F(DllUpdateTest, NtOtherFailureOfTheDelayedMove) {
    distribution::Options options = SmallDistribution();
    options.dllVersions["Msvcrt.dll"] = {7, 0, 0, 0};
    Start(winsim::Platform::NT4, options);
    winsim::FailCall("MoveFileExA", ERROR_NOT_ENOUGH_MEMORY);
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Update());
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{StopBox("Could not update the C:\\WINNT\\system32\\Msvcrt.dll system dll : "
                                               "Not enough storage is available to process this command.\r\n")});
    EXPECT_TRUE(TempCopies().empty());
}

TEST_F(DllUpdateTest, SourceWithoutVersionEndsTheRun) {
    struct Case {
        const char* what;
        bool omit;
        bool unversioned;
        bool noFixedInfo;
        const char* systemText;
    } cases[] = {
        {"missing", true, false, false, "The system cannot find the file specified.\r\n"},
        {"unversioned", false, true, false, "The specified resource type cannot be found in the image file.\r\n"},
        {"without fixed file information", false, false, true,
         "The specified resource type cannot be found in the image file.\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        distribution::Options options = SmallDistribution();
        if (c.omit) options.omit.insert("Msvcrt.dll");
        if (c.unversioned) options.dllsWithoutVersion.insert("Msvcrt.dll");
        options.dllVersions["Oleaut32.dll"] = {9, 0, 0, 0};  // after it in the list: never reached
        Start(winsim::Platform::NT4, options);
        if (c.noFixedInfo) {
            pe::Options dll;
            dll.dll = true;
            dll.version = pe::VersionResource();
            dll.version->fixedInfo = false;
            winsim::WriteFile("D:\\Setup\\Msvcrt.dll", pe::BuildImage(dll));
        }
        winsim::ExpectMessageBox();
        EXPECT_FALSE(Update());
        EXPECT_EQ(winsim::TranscriptLines("messagebox"),
                  std::vector<std::string>{StopBox(std::string("Could not access file D:\\Setup\\Msvcrt.dll : ") +
                                                   c.systemText)});
        EXPECT_FALSE(context_.restartNeeded);
        EXPECT_EQ(Pending(), "<none>");
    }
}

TEST_F(DllUpdateTest, NoMemoryForTheVersionBlock) {
    Start(winsim::Platform::NT4);
    winsim::FailCall("HeapAlloc", ERROR_NOT_ENOUGH_MEMORY, 1);  // the target's block
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Update());
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{StopBox("Insufficient memory available ! Check swap file size !")});
}

TEST_F(DllUpdateTest, CopyFailuresNameTheTemporaryCopyAndLeaveNone) {
    distribution::Options options = SmallDistribution();
    options.dllVersions["Mfc42.dll"] = {7, 0, 0, 0};
    Start(winsim::Platform::NT4, options);
    winsim::FailCall("CopyFileA", ERROR_DISK_FULL);
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Update());
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{StopBox("Copying D:\\Setup\\Mfc42.dll to C:\\WINNT\\system32\\tem1.TMP : "
                                               "There is not enough space on the disk.\r\n")});
    EXPECT_TRUE(TempCopies().empty());

    // No temporary name could be made: the message names the folder.
    Start(winsim::Platform::NT4, options);
    winsim::FailCall("GetTempFileNameA", ERROR_FILE_EXISTS);
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Update());
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{StopBox("Copying D:\\Setup\\Mfc42.dll to C:\\WINNT\\system32 : "
                                               "The file exists.\r\n")});
    EXPECT_TRUE(TempCopies().empty());
}

// Windows 95 and 98: Wininit.ini.
class WininitTest : public DllUpdateTest {
protected:
    // Mfc42.dll and Oleaut32.dll newer, Oleaut32.dll not installed yet.
    void StartTwoNewer(const std::string* wininit) {
        distribution::Options options = SmallDistribution();
        options.dllVersions["Mfc42.dll"] = {6, 0, 9000, 0};
        options.dllVersions["Oleaut32.dll"] = {2, 40, 4300, 0};
        Start(winsim::Platform::Win98, options);
        DeleteFileA(System("Oleaut32.dll").c_str());
        if (wininit) winsim::WriteFile(Wininit(), *wininit);
    }
    std::string Wininit() const { return std::string(context_.windowsDir) + "\\Wininit.ini"; }
    // This run's lines, the temporary copies named as they were made; the
    // header only where the file has no [rename] section of its own.
    std::string Block(bool header = true) const {
        const std::vector<std::string> temps = TempCopies();
        EXPECT_EQ(temps.size(), 2u);
        if (temps.size() != 2) return std::string();
        return std::string(header ? "[rename]\r\n" : "") +
               "NUL=C:\\WINDOWS\\SYSTEM\\Mfc42.dll\r\n"
               "C:\\WINDOWS\\SYSTEM\\Mfc42.dll=C:\\WINDOWS\\SYSTEM\\" + temps[0] + "\r\n"
               "NUL=C:\\WINDOWS\\SYSTEM\\Oleaut32.dll\r\n"
               "C:\\WINDOWS\\SYSTEM\\Oleaut32.dll=C:\\WINDOWS\\SYSTEM\\" + temps[1] + "\r\n";
    }
    // Nothing of the rewrite is left behind in the Windows directory.
    void ExpectNoLeftovers() const { EXPECT_TRUE(FilesLike(context_.windowsDir, "", ".tmp").empty()); }
};

TEST_F(WininitTest, TwoDllsGiveTheHeaderOnceAndFourLinesInListOrder) {
    StartTwoNewer(nullptr);
    const std::string oldMfc = winsim::ReadFile(System("Mfc42.dll"));
    ASSERT_TRUE(Update());
    EXPECT_TRUE(context_.restartNeeded);
    EXPECT_EQ(winsim::ReadFile(Wininit()), Block());
    EXPECT_EQ(Pending(), "<none>");
    ExpectNoLeftovers();
    EXPECT_EQ(winsim::ReadFile(System("Mfc42.dll")), oldMfc);

    winsim::Restart();
    EXPECT_EQ(winsim::ReadFile(System("Mfc42.dll")), Source("Mfc42.dll"));
    EXPECT_EQ(winsim::ReadFile(System("Oleaut32.dll")), Source("Oleaut32.dll"));
    EXPECT_TRUE(TempCopies().empty());
    EXPECT_FALSE(winsim::FileExists(Wininit()));
    EXPECT_TRUE(winsim::FileExists(std::string(context_.windowsDir) + "\\Wininit.bak"));
}

TEST_F(WininitTest, OtherProgramsContentIsKeptByteForByte) {
    struct Case {
        const char* what;
        std::string before;
        const char* insertBefore;  // this run's lines go before it; "" for the end
        const char* lineBreak;     // added first when the content lacks one
        bool header;               // the file has no [rename] section of its own
    } cases[] = {
        {"a [rename] section before another section",
         "[CombineVxDs]\r\nvxd=1\r\n[Rename]\r\nNUL=C:\\OTHER.TMP\r\n\r\n[Other]\r\nx=y\r\n", "[Other]", "", false},
        {"a [rename] section at the end, without a final line break", "[x]\r\n[ rename ]\r\nNUL=C:\\A.TMP", "",
         "\r\n", false},
        {"no [rename] section, no final line break", "[CombineVxDs]\r\nvxd=1", "", "\r\n", true},
        {"no [rename] section, line feeds only", "[Setup]\nx=1\n[renamed]\n", "", "", true},
        {"bytes of any value", std::string("[a]\r\nk=\0\xFF\r\n[RENAME]\r\n\xE9=\x01\r\n[b]\r\n", 31), "[b]", "",
         false},
        {"an empty file", "", "", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StartTwoNewer(&c.before);
        ASSERT_TRUE(Update()) << winsim::TranscriptText();
        const std::size_t insertAt = c.insertBefore[0] ? c.before.find(c.insertBefore) : c.before.size();
        ASSERT_NE(insertAt, std::string::npos);
        EXPECT_EQ(winsim::ReadFile(Wininit()),
                  c.before.substr(0, insertAt) + c.lineBreak + Block(c.header) + c.before.substr(insertAt));
        ExpectNoLeftovers();
    }
}

TEST_F(WininitTest, AFailedWriteLeavesTheFileAsItWas) {
    const std::string before = "[CombineVxDs]\r\nvxd=1\r\n[rename]\r\nNUL=C:\\OTHER.TMP\r\n";
    struct Case {
        const char* api;
        int skip;
        DWORD error;
        const char* message;
    } cases[] = {
        {"WriteFile", 0, ERROR_DISK_FULL,
         "Write error on file C:\\WINDOWS\\Wininit.ini : There is not enough space on the disk.\r\n"},
        {"CreateFileA", 1, ERROR_ACCESS_DENIED,  // after the read of the earlier content
         "Could not create file C:\\WINDOWS\\Wininit.ini : Access is denied.\r\n"},
        {"MoveFileA", 0, ERROR_SHARING_VIOLATION,
         "Write error on file C:\\WINDOWS\\Wininit.ini : The process cannot access the file because it is being "
         "used by another process.\r\n"},
        {"MoveFileA", 1, ERROR_ACCESS_DENIED,  // the new file cannot take the name: the old one comes back
         "Write error on file C:\\WINDOWS\\Wininit.ini : Access is denied.\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.api) + " " + std::to_string(c.skip));
        StartTwoNewer(&before);
        winsim::FailCall(c.api, c.error, c.skip);
        winsim::ExpectMessageBox();
        EXPECT_FALSE(Update());
        EXPECT_EQ(winsim::TranscriptLines("messagebox"), std::vector<std::string>{StopBox(c.message)});
        EXPECT_EQ(winsim::ReadFile(Wininit()), before);
        EXPECT_TRUE(TempCopies().empty());
        ExpectNoLeftovers();
    }
}

TEST_F(WininitTest, AFailureAtTheSecondDllKeepsTheFirstEntry) {
    StartTwoNewer(nullptr);
    winsim::FailCall("WriteFile", ERROR_DISK_FULL, 1);  // the first rewrite is one write
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Update());
    const std::vector<std::string> temps = TempCopies();
    ASSERT_EQ(temps.size(), 1u);
    EXPECT_EQ(winsim::ReadFile(Wininit()), "[rename]\r\n"
                                           "NUL=C:\\WINDOWS\\SYSTEM\\Mfc42.dll\r\n"
                                           "C:\\WINDOWS\\SYSTEM\\Mfc42.dll=C:\\WINDOWS\\SYSTEM\\" + temps[0] + "\r\n");
    ExpectNoLeftovers();
}

TEST_F(WininitTest, NothingNewerLeavesWininitUntouched) {
    Start(winsim::Platform::Win95);
    ASSERT_TRUE(Update());
    EXPECT_FALSE(context_.restartNeeded);
    EXPECT_FALSE(winsim::FileExists(std::string(context_.windowsDir) + "\\Wininit.ini"));
    EXPECT_EQ(winsim::FileWrites().size(), 0u);
}

TEST_F(WininitTest, ShortPathsOfALongSystemDirectory) {
    distribution::Options options = SmallDistribution();
    options.dllVersions["Msvcrt.dll"] = {9, 0, 0, 0};
    TearDown();
    machine_.reset(new TestMachine(winsim::Platform::Win95));
    winsim::settings().systemDir = "C:\\Windows Files\\System Folder";
    winsim::MakeDirectory(winsim::settings().systemDir);
    app_.reset(new InstallerApp);
    options_ = options;
    PlaceDistribution(options);
    for (const auto& name : distribution::kSystemDlls) PlaceSystemDll(name, distribution::DefaultDllVersion(name));
    context_ = PreparedContext();
    ASSERT_TRUE(Update());
    const std::vector<std::string> temps = TempCopies();
    ASSERT_EQ(temps.size(), 1u);
    EXPECT_EQ(winsim::ReadFile("C:\\WINDOWS\\Wininit.ini"),
              "[rename]\r\nNUL=C:\\WINDOW~1\\SYSTEM~1\\Msvcrt.dll\r\nC:\\WINDOW~1\\SYSTEM~1\\Msvcrt.dll="
              "C:\\WINDOW~1\\SYSTEM~1\\" + temps[0] + "\r\n");
    winsim::Restart();
    EXPECT_EQ(winsim::ReadFile(System("Msvcrt.dll")), Source("Msvcrt.dll"));
}

}  // namespace
