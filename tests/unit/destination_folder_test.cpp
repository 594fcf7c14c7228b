// The destination folder is created with every missing level; an existing
// one is taken as it is.
#include <gtest/gtest.h>

#include <cstring>

#include "app/install_app.h"
#include "app/install_run.h"
#include "test_machine.h"
#include "winsim/filesystem.h"
#include "winsim/resources.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

class DestinationFolderTest : public ::testing::Test {
protected:
    TestMachine machine;
    InstallerApp app;
    InstallContext context = {};

    BOOL Create(const char* folder) {
        std::strcpy(context.destDir, folder);
        context.destDirLength = static_cast<int>(std::strlen(folder));
        return CreateDestinationFolder(context);
    }
};

TEST_F(DestinationFolderTest, CreatesEveryMissingLevel) {
    EXPECT_TRUE(Create("C:\\A\\B\\C"));
    EXPECT_TRUE(winsim::DirectoryExists("C:\\A\\B\\C"));
    EXPECT_TRUE(winsim::Transcript().empty());
}

TEST_F(DestinationFolderTest, AnExistingFolderIsUsedSilently) {
    winsim::MakeDirectory("C:\\Program Files\\Quorlet V4.06");
    EXPECT_TRUE(Create("C:\\program files\\QUORLET V4.06"));
    EXPECT_TRUE(winsim::Transcript().empty());
}

TEST_F(DestinationFolderTest, FailureAtAHigherLevelNamesTheWholeFolder) {
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Create("Z:\\Program Files\\Quorlet V4.06"));
    ASSERT_EQ(winsim::Transcript().size(), 1u);
    EXPECT_EQ(winsim::Transcript()[0],
              "messagebox caption=\"Install\" icon=stop buttons=0 owner=none text=\"Could not create directory "
              "Z:\\\\Program Files\\\\Quorlet V4.06 : The system cannot find the path specified.\\r\\n\"");
}

TEST_F(DestinationFolderTest, FailureAtTheLastLevel) {
    winsim::MakeDirectory("C:\\Locked");
    winsim::DenyAccess("C:\\Locked");
    winsim::ExpectMessageBox();
    EXPECT_FALSE(Create("C:\\Locked\\Quorlet"));
    ASSERT_EQ(winsim::TranscriptLines("messagebox").size(), 1u);
    EXPECT_NE(winsim::Transcript()[0].find("Could not create directory C:\\\\Locked\\\\Quorlet : Access is denied."),
              std::string::npos)
        << winsim::Transcript()[0];
}

}  // namespace
