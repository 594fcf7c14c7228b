// The product's registry entries and the text-file association.
#include <gtest/gtest.h>

#include <cstring>

#include "app/install_app.h"
#include "register/registry_entries.h"
#include "util/reg_path.h"
#include "test_machine.h"
#include "ui/resource.h"
#include "winsim/faults.h"
#include "winsim/registry.h"
#include "winsim/resources.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

const char kClasses[] = "HKEY_LOCAL_MACHINE\\Software\\Classes\\";
const char kExtensions[] =
    "1st asm asp bas c cpp def dpr for f77 frm h hpj idl inc ini jav java log m me out pas pov rc sql tex txt";

class RegistryEntriesTest : public ::testing::Test {
protected:
    TestMachine machine;
    InstallerApp app;
    InstallContext context = {};

    void SetUp() override {
        Set(context.productName, &context.productNameLength, "Quorlet V4.06");
        Set(context.destDir, &context.destDirLength, "C:\\Program Files\\Quorlet V4.06");
        Set(context.uninstallerPath, &context.uninstallerPathLength, "C:\\WINNT\\Remvex406.exe");
    }

    static void Set(char* field, int* length, const char* text) {
        std::strcpy(field, text);
        *length = static_cast<int>(std::strlen(text));
    }

    static std::string Default(const std::string& key) {
        return winsim::RegGetString(kClasses + key, "").value_or("<missing>");
    }

    // Extension keys (".xxx") under the classes root.
    static std::vector<std::string> ExtensionKeys() {
        std::vector<std::string> keys;
        for (const auto& name : winsim::RegSubKeys("HKEY_LOCAL_MACHINE\\Software\\Classes")) {
            if (!name.empty() && name[0] == '.') keys.push_back(name);
        }
        return keys;
    }
};

TEST_F(RegistryEntriesTest, YesWritesEverything) {
    winsim::ExpectDialog(IDD_FILETYPES).Press(IDOK);
    EXPECT_TRUE(WriteRegistryEntries(context));

    EXPECT_EQ(winsim::RegGetString("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quorlet.exe", ""),
              "C:\\Program Files\\Quorlet V4.06\\Quorlet.exe");
    const std::string uninstall = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlet V4.06";
    EXPECT_EQ(winsim::RegGetString(uninstall, "DisplayName"), "Quorlet V4.06");
    EXPECT_EQ(winsim::RegGetString(uninstall, "UninstallString"),
              "C:\\WINNT\\Remvex406.exe /Quorlet V4.06 /C:\\Program Files\\Quorlet V4.06");
    EXPECT_EQ(Default("txtfile\\DefaultIcon"), "C:\\Program Files\\Quorlet V4.06\\Quorlet.exe,0");
    EXPECT_EQ(Default("txtfile\\shell\\open\\command"), "\"C:\\Program Files\\Quorlet V4.06\\Quorlet.exe\" \"%1\"");
    EXPECT_EQ(Default("txtfile\\shell\\print\\command"),
              "\"C:\\Program Files\\Quorlet V4.06\\Quorlet.exe\" /p \"%1\"");

    EXPECT_EQ(ExtensionKeys().size(), 28u);
    std::string words = kExtensions;
    for (size_t start = 0; start < words.size();) {
        size_t end = words.find(' ', start);
        if (end == std::string::npos) end = words.size();
        const std::string key = "." + words.substr(start, end - start);
        auto value = winsim::RegGetValue(kClasses + key, "");
        ASSERT_TRUE(value) << key;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value->data, std::string("txtfile", 8)) << "8 bytes with the terminator";
        start = end + 1;
    }
    EXPECT_EQ(winsim::OpenKeyHandleCount(), 0);
}

TEST_F(RegistryEntriesTest, NoOrEscapeLeaveTheTextFileClassAlone) {
    for (int escape = 0; escape < 2; ++escape) {
        TestMachine fresh;
        winsim::RegSetString("HKCR\\txtfile\\shell\\open\\command", "", "notepad.exe %1");
        auto& dialog = winsim::ExpectDialog(IDD_FILETYPES).Type(IDC_TYPES, "xyz");
        if (escape) dialog.Escape(); else dialog.Press(IDCANCEL);
        EXPECT_TRUE(WriteRegistryEntries(context));
        EXPECT_EQ(Default("txtfile\\shell\\open\\command"), "notepad.exe %1");
        EXPECT_FALSE(winsim::RegKeyExists(std::string(kClasses) + "txtfile\\DefaultIcon"));
        EXPECT_TRUE(ExtensionKeys().empty());
        EXPECT_TRUE(winsim::RegGetString("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlet V4.06",
                                         "DisplayName"));
    }
}

TEST_F(RegistryEntriesTest, EditedListsGiveOneKeyPerWord) {
    const std::string long259(259, 'w');
    struct Case {
        std::string typed;
        std::vector<std::string> keys;  // sorted as the registry lists them
    } cases[] = {
        {"  c   cpp  ", {".c", ".cpp"}},
        {"", {}},
        {"     ", {}},
        {".c", {"..c"}},
        {"c c", {".c"}},
        {"a\\b", {".a"}},
        {"TXT\tlog", {".TXT\tlog"}},
        {long259, {"." + long259.substr(0, 258)}},
    };
    for (const auto& c : cases) {
        TestMachine fresh;
        winsim::ExpectDialog(IDD_FILETYPES).Type(IDC_TYPES, c.typed).Press(IDOK);
        EXPECT_TRUE(WriteRegistryEntries(context));
        EXPECT_EQ(ExtensionKeys(), c.keys) << "typed: " << c.typed;
        EXPECT_TRUE(winsim::RegKeyExists(std::string(kClasses) + "txtfile\\shell\\open\\command")) << c.typed;
    }
}

TEST_F(RegistryEntriesTest, ABackslashInAWordNamesANestedKey) {
    winsim::ExpectDialog(IDD_FILETYPES).Type(IDC_TYPES, "a\\b").Press(IDOK);
    EXPECT_TRUE(WriteRegistryEntries(context));
    EXPECT_EQ(Default(".a\\b"), "txtfile");
    EXPECT_FALSE(winsim::RegGetValue(std::string(kClasses) + ".a", ""));
}

TEST_F(RegistryEntriesTest, FailedWritesArePassedOver) {
    winsim::RegDenyAccess("HKEY_LOCAL_MACHINE\\Software\\Classes");
    winsim::RegDenyAccess("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths");
    winsim::ExpectDialog(IDD_FILETYPES).Press(IDOK);
    EXPECT_TRUE(WriteRegistryEntries(context));
    EXPECT_TRUE(ExtensionKeys().empty());
    EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty());
    EXPECT_TRUE(winsim::RegGetString("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlet V4.06",
                                     "UninstallString"));
}

TEST_F(RegistryEntriesTest, NoMemoryForTheUninstallEntryEndsTheRun) {
    // The first allocation of this phase after the App Paths write.
    winsim::ExpectMessageBox();
    const int before = winsim::CallCount("HeapAlloc");
    char appPath[] = "x";
    RegWritePath(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quorlet.exe", nullptr,
                 REG_SZ, appPath, 2);
    winsim::FailCall("HeapAlloc", ERROR_NOT_ENOUGH_MEMORY, winsim::CallCount("HeapAlloc") - before);
    EXPECT_FALSE(WriteRegistryEntries(context));
    auto boxes = winsim::TranscriptLines("messagebox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("icon=stop"), std::string::npos);
    EXPECT_NE(boxes[0].find("Insufficient memory available ! Check swap file size !"), std::string::npos);
    EXPECT_TRUE(winsim::TranscriptLines("dialog open").empty()) << "no file types dialog after the failure";
}

}  // namespace
