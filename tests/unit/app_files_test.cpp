// The application files and the versioned uninstaller copy.
#include <gtest/gtest.h>

#include <memory>

#include "app/install_app.h"
#include "install/app_files.h"
#include "install/file_lists.h"
#include "install_fixture.h"
#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/filesystem.h"
#include "winsim/memory.h"
#include "winsim/resources.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

const char kDest[] = "C:\\Program Files\\Quorlet V4.06";

class AppFilesTest : public ::testing::Test {
protected:
    void Start(const distribution::Options& options = SmallDistribution()) {
        TearDown();
        machine_.reset(new TestMachine(winsim::Platform::NT4));
        app_.reset(new InstallerApp);
        options_ = options;
        PlaceDistribution(options);
        context_ = PreparedContext(kDest);
    }
    void TearDown() override {
        app_.reset();
        machine_.reset();
    }
    BOOL Copy() {
        progress_ = FileProgress{nullptr, 57, 4};  // after the four DLLs
        BOOL copied = CopyApplicationFiles(context_, progress_);
        EXPECT_EQ(winsim::LiveHeapBlocks(), 0);
        return copied;
    }
    std::string Installed(const std::string& name) const { return winsim::ReadFile(std::string(kDest) + "\\" + name); }
    std::string Source(const std::string& name) const { return distribution::FileContent(name, options_); }

    std::unique_ptr<TestMachine> machine_;
    std::unique_ptr<CInstallApp> app_;
    distribution::Options options_;
    InstallContext context_ = {};
    FileProgress progress_ = {};
};

TEST_F(AppFilesTest, EveryFileAndTheVersionedUninstaller) {
    Start();
    ASSERT_TRUE(Copy());
    for (const auto& name : distribution::kAppFiles) EXPECT_EQ(Installed(name), Source(name)) << name;
    EXPECT_EQ(FilesLike(kDest, "", "").size(), 53u);
    EXPECT_STREQ(context_.uninstallerPath, "C:\\WINNT\\Remvex406.exe");
    EXPECT_EQ(context_.uninstallerPathLength, 22);
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\Remvex406.exe"), Source("Remvex.exe"));
    EXPECT_EQ(progress_.filesBegun, 57);  // the uninstaller is not announced
    EXPECT_TRUE(winsim::Transcript().empty()) << winsim::TranscriptText();
}

TEST_F(AppFilesTest, FilesOfAnEarlierInstallationAreOverwritten) {
    Start();
    for (const auto& name : distribution::kAppFiles) {
        winsim::WriteFile(std::string(kDest) + "\\" + name, "an older and longer " + name + " of another version");
    }
    winsim::WriteFile("C:\\WINNT\\Remvex406.exe", "older uninstaller");
    ASSERT_TRUE(Copy());
    for (const auto& name : distribution::kAppFiles) EXPECT_EQ(Installed(name), Source(name)) << name;
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\Remvex406.exe"), Source("Remvex.exe"));
}

TEST_F(AppFilesTest, AMissingFileEndsTheRunWithTheFilesBeforeItInPlace) {
    distribution::Options options = SmallDistribution();
    options.omit.insert("Html.dll");  // the 25th of 53
    Start(options);
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Copy());
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{StopBox("Copying D:\\Setup\\Html.dll to C:\\Program Files\\Quorlet V4.06\\"
                                               "Html.dll : The system cannot find the file specified.\r\n")});
    bool before = true;
    for (const auto& name : distribution::kAppFiles) {
        if (name == "Html.dll") before = false;
        EXPECT_EQ(winsim::FileExists(std::string(kDest) + "\\" + name), before) << name;
    }
    EXPECT_EQ(progress_.filesBegun, 4 + 25);
    EXPECT_TRUE(FilesLike("C:\\WINNT", "Remvex", ".exe").empty());
    EXPECT_STREQ(context_.uninstallerPath, "");
}

TEST_F(AppFilesTest, TheEditorWithoutVersionEndsTheRunAfterTheFiles) {
    struct Case {
        const char* what;
        bool hasVersion;
        bool fixedInfo;
        const char* systemText;
    } cases[] = {
        {"no version resource", false, true, "The specified resource type cannot be found in the image file.\r\n"},
        {"no fixed file information", true, false,
         "The specified resource type cannot be found in the image file.\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        distribution::Options options = SmallDistribution();
        options.editorHasVersion = c.hasVersion;
        options.editor.fixedInfo = c.fixedInfo;
        Start(options);
        winsim::ExpectMessageBox();
        EXPECT_FALSE(Copy());
        EXPECT_EQ(winsim::TranscriptLines("messagebox"),
                  std::vector<std::string>{StopBox(std::string("Could not access file D:\\Setup\\Quorlet.exe : ") +
                                                   c.systemText)});
        EXPECT_EQ(FilesLike(kDest, "", "").size(), 53u);
        EXPECT_TRUE(FilesLike("C:\\WINNT", "Remvex", ".exe").empty());
    }
}

TEST_F(AppFilesTest, TheUninstallerCannotBeCopied) {
    distribution::Options options = SmallDistribution();
    options.omit.insert("Remvex.exe");
    Start(options);
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Copy());
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{StopBox("Copying D:\\Setup\\Remvex.exe to C:\\WINNT\\Remvex406.exe : "
                                               "The system cannot find the file specified.\r\n")});
}

TEST_F(AppFilesTest, NoMemoryForTheEditorsVersion) {
    Start();
    winsim::FailCall("HeapAlloc", ERROR_NOT_ENOUGH_MEMORY);
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Copy());
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{StopBox("Insufficient memory available ! Check swap file size !")});
}

TEST_F(AppFilesTest, TheUninstallerIsNamedByTheEditorsVersion) {
    struct Case {
        pe::Version version;
        const char* name;
    } cases[] = {
        {{4, 0, 6, 1}, "Remvex406.exe"},   {{4, 0, 6, 65535}, "Remvex406.exe"}, {{1, 10, 0, 0}, "Remvex1A0.exe"},
        {{0, 0, 0, 0}, "Remvex000.exe"},   {{9, 35, 36, 0}, "Remvex9ZZ.exe"},  {{65535, 256, 58, 0}, "RemvexZZZ.exe"},
        {{10, 11, 12, 0}, "RemvexABC.exe"},
    };
    for (const auto& c : cases) {
        const WORD parts[3] = {c.version[0], c.version[1], c.version[2]};
        char name[sizeof(g_szUninstallerName)];
        VersionedUninstallerName(parts, name);
        EXPECT_STREQ(name, c.name);
    }
    // Through the copy: the name of the file in the Windows directory.
    distribution::Options options = SmallDistribution();
    options.editor.file = {1, 10, 0, 0};
    Start(options);
    ASSERT_TRUE(Copy());
    EXPECT_STREQ(context_.uninstallerPath, "C:\\WINNT\\Remvex1A0.exe");
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\Remvex1A0.exe"), Source("Remvex.exe"));
}

}  // namespace
