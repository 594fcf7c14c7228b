// The destination joins the Windows NT system "Path" value.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "app/install_app.h"
#include "util/reg_path.h"
#include "register/search_path.h"
#include "test_machine.h"
#include "winsim/faults.h"
#include "winsim/registry.h"
#include "winsim/resources.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

const char kEnvironment[] =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char kDest[] = "C:\\Program Files\\Quorlet V4.06";

class NtPathTest : public ::testing::Test {
protected:
    TestMachine machine;
    InstallerApp app;
    InstallContext context = {};

    void SetUp() override {
        context.isNT = TRUE;
        std::strcpy(context.destDir, kDest);
        context.destDirLength = static_cast<int>(std::strlen(kDest));
    }

    std::string Path() { return winsim::RegGetString(kEnvironment, "Path").value_or("<missing>"); }
};

TEST_F(NtPathTest, ExtendsTheValue) {
    struct Case {
        std::string before;
        std::string after;
    } cases[] = {
        {"C:\\WINNT\\system32;C:\\WINNT", "C:\\WINNT\\system32;C:\\WINNT;C:\\Program Files\\Quorlet V4.06"},
        {"C:\\WINNT\\system32;C:\\WINNT;", "C:\\WINNT\\system32;C:\\WINNT;C:\\Program Files\\Quorlet V4.06"},
        {"C:\\WINNT;;", "C:\\WINNT;;C:\\Program Files\\Quorlet V4.06"},
        {"", ";C:\\Program Files\\Quorlet V4.06"},
        {"C:\\Program Files\\Quorlet V4.06 Beta", "C:\\Program Files\\Quorlet V4.06 Beta;C:\\Program Files\\Quorlet V4.06"},
    };
    for (const auto& c : cases) {
        winsim::RegSetString(kEnvironment, "Path", c.before);
        context.pathChanged = FALSE;
        EXPECT_TRUE(UpdateNtPath(context));
        EXPECT_EQ(Path(), c.after);
        EXPECT_TRUE(context.pathChanged) << c.before;
        auto value = winsim::RegGetValue(kEnvironment, "Path");
        ASSERT_TRUE(value);
        EXPECT_EQ(value->data.size(), c.after.size() + 1) << "written with its terminator";
    }
    EXPECT_TRUE(winsim::Transcript().empty());
}

TEST_F(NtPathTest, DestinationAlreadyThereChangesNothing) {
    for (const char* before : {"C:\\WINNT;c:\\program files\\quorlet v4.06", "\"C:\\Program Files\\Quorlet V4.06\\\""}) {
        winsim::RegSetString(kEnvironment, "Path", before);
        EXPECT_TRUE(UpdateNtPath(context));
        EXPECT_EQ(Path(), before);
        EXPECT_FALSE(context.pathChanged);
    }
}

TEST_F(NtPathTest, KeepsTheTypeOfTheValue) {
    winsim::RegSetString(kEnvironment, "Path", "%SystemRoot%\\system32;%SystemRoot%", REG_EXPAND_SZ);
    EXPECT_TRUE(UpdateNtPath(context));
    auto value = winsim::RegGetValue(kEnvironment, "Path");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(Path(), "%SystemRoot%\\system32;%SystemRoot%;C:\\Program Files\\Quorlet V4.06");
}

TEST_F(NtPathTest, UnreadableValueIsReportedAndNothingWritten) {
    const std::string prefix =
        "messagebox caption=\"Install\" icon=stop buttons=0 owner=none text=\"Could not access key  "
        "HKEY_LOCAL_MACHINE\\\\System\\\\CurrentControlSet\\\\Control\\\\Session Manager\\\\Environment : ";
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::string systemText;
    } cases[] = {
        {"missing value", [] { winsim::RegCreateKey(kEnvironment); }, "The system cannot find the file specified."},
        {"missing key", [] {}, "The system cannot find the file specified."},
        {"too large", [] { winsim::RegSetString(kEnvironment, "Path", std::string(8192, 'x')); },
         "More data is available."},
        {"read-only key",
         [] {
             winsim::RegSetString(kEnvironment, "Path", "C:\\WINNT");
             winsim::RegDenyAccess(kEnvironment);
         },
         "Access is denied."},
        {"not a string", [] { winsim::RegSetValue(kEnvironment, "Path", REG_DWORD, std::string(4, '\1')); },
         "The data is invalid."},
    };
    for (const auto& c : cases) {
        TestMachine fresh;
        c.prepare();
        winsim::ExpectMessageBox();
        const std::string before = winsim::RegSave();
        EXPECT_FALSE(UpdateNtPath(context)) << c.name;
        ASSERT_EQ(winsim::Transcript().size(), 1u) << c.name;
        EXPECT_EQ(winsim::Transcript()[0], prefix + c.systemText + "\\r\\n\"") << c.name;
        EXPECT_EQ(winsim::RegSave(), before) << c.name;
        EXPECT_FALSE(context.pathChanged);
    }
}

TEST_F(NtPathTest, NoMemoryForTheNewValueWritesNothingQuietly) {
    winsim::RegSetString(kEnvironment, "Path", "C:\\WINNT");
    // Let the read's own allocations (its key chain) go through, then fail.
    const int before = winsim::CallCount("HeapAlloc");
    char buffer[64];
    DWORD size = sizeof buffer;
    RegReadPath(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path",
                nullptr, buffer, &size);
    winsim::FailCall("HeapAlloc", ERROR_NOT_ENOUGH_MEMORY, winsim::CallCount("HeapAlloc") - before);
    EXPECT_TRUE(UpdateNtPath(context));
    EXPECT_EQ(Path(), "C:\\WINNT");
    EXPECT_TRUE(context.pathChanged);
    EXPECT_TRUE(winsim::Transcript().empty());
}

}  // namespace
