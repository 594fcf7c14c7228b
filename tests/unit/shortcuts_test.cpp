// The Start-menu group, its links from the shortcut table, and the desktop
// link.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "app/install_app.h"
#include "lnk_reader.h"
#include "register/shortcuts.h"
#include "test_machine.h"
#include "winsim/filesystem.h"
#include "winsim/registry.h"
#include "winsim/resources.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

const char kShellFolders[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kPrograms[] = "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs";
const char kDesktop[] = "C:\\WINNT\\Profiles\\All Users\\Desktop";
const char kGroup[] = "C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs\\Quorlet V4.06";
const char kDest[] = "C:\\Program Files\\Quorlet V4.06";
const char kUninstallArgs[] = "/Quorlet V4.06 /C:\\Program Files\\Quorlet V4.06";

class ShortcutsTest : public ::testing::Test {
protected:
    std::unique_ptr<TestMachine> machine;
    std::unique_ptr<CInstallApp> app;
    InstallContext context = {};

    void SetUp() override { Start(0x0409); }

    // A fresh machine; the shell folders as told.
    void Start(LANGID language, bool programs = true, bool desktop = true) {
        app.reset();
        machine.reset();
        machine.reset(new TestMachine(winsim::Platform::NT4, language));
        app.reset(new InstallerApp);
        std::strcpy(context.productName, "Quorlet V4.06");
        context.productNameLength = 13;
        std::strcpy(context.destDir, kDest);
        context.destDirLength = static_cast<int>(std::strlen(kDest));
        std::strcpy(context.uninstallerPath, "C:\\WINNT\\Remvex406.exe");
        context.uninstallerPathLength = 22;
        if (programs) winsim::RegSetString(kShellFolders, "Programs", kPrograms);
        if (desktop) winsim::RegSetString(kShellFolders, "Desktop", kDesktop);
        winsim::MakeDirectory(kPrograms);
        winsim::MakeDirectory(kDesktop);
    }

    // Links saved, by their path as the transcript quotes it: target,
    // arguments and description.
    static std::map<std::string, std::string> Links() {
        std::map<std::string, std::string> links;
        const std::string prefix = "link saved path=";
        for (const auto& line : winsim::TranscriptLines(prefix)) {
            size_t target = line.find(" target=");
            links[line.substr(prefix.size(), target - prefix.size())] = line.substr(target + 1);
        }
        return links;
    }
    static std::string Key(const std::string& path) { return winsim::Quote(path); }

    static std::string Link(const std::string& target, const std::string& arguments, const std::string& description) {
        return "target=" + winsim::Quote(target) + " arguments=" + winsim::Quote(arguments) +
               " description=" + winsim::Quote(description) + " show=1";
    }

    // The walk alone, over a table of our own.
    void Walk(const std::string& table) {
        std::string text = table;
        CreateTableLinks(context, kGroup, &text[0], static_cast<int>(text.size()));
    }
};

TEST_F(ShortcutsTest, EnglishTable) {
    EXPECT_TRUE(CreateShortcuts(context));
    const std::string g = std::string(kGroup) + "\\";
    const std::string d = std::string(kDest) + "\\";
    std::map<std::string, std::string> expected = {
        {Key(g + "Quorlet V4.06.lnk"), Link(d + "Quorlet.exe", "", "Quorlet V4.06")},
        {Key(g + "Quorlet's help.lnk"), Link(d + "HelpUs.hlp", "", "Quorlet's help")},
        {Key(g + "Information.lnk"), Link(d + "ReadmeUs.doc", "", "Information")},
        {Key(g + "Order form.lnk"), Link(d + "OrderUs.doc", "", "Order form")},
        {Key(g + "Uninstall.lnk"), Link("C:\\WINNT\\Remvex406.exe", kUninstallArgs, "Uninstall")},
        {Key(std::string(kDesktop) + "\\Quorlet V4.06.lnk"), Link(d + "Quorlet.exe", "", "Quorlet V4.06")},
    };
    EXPECT_EQ(Links(), expected);
    auto link = ParseLink(winsim::ReadFile(g + "Uninstall.lnk"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, "C:\\WINNT\\Remvex406.exe");
    EXPECT_EQ(link->arguments, kUninstallArgs);
    EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty());
}

TEST_F(ShortcutsTest, FrenchAndItalianTablesKeepTheirBlanks) {
    Start(0x040C);
    EXPECT_TRUE(CreateShortcuts(context));
    const std::string g = std::string(kGroup) + "\\";
    EXPECT_TRUE(winsim::FileExists(g + "Aide de  Quorlet.lnk"));
    EXPECT_EQ(Links()[Key(g + "D\xE9sinstaller.lnk")], Link("C:\\WINNT\\Remvex406.exe", kUninstallArgs, "D\xE9sinstaller"));
    EXPECT_EQ(Links().size(), 6u);

    Start(0x0410);
    EXPECT_TRUE(CreateShortcuts(context));
    EXPECT_TRUE(winsim::FileExists(g + " Informazioni.lnk"));
    EXPECT_EQ(Links()[Key(g + "Disinstallare.lnk")], Link("C:\\WINNT\\Remvex406.exe", kUninstallArgs, " Disinstallare"));
    EXPECT_EQ(Links()[Key(g + "Guida di Quorlet.lnk")], Link(std::string(kDest) + "\\HelpIt.hlp", "", "Guida di Quorlet"));
    EXPECT_EQ(Links().size(), 6u);
}

TEST_F(ShortcutsTest, TableWalk) {
    winsim::MakeDirectory(kGroup);
    const std::string g = std::string(kGroup) + "\\";
    const std::string d = std::string(kDest) + "\\";
    const std::string uninstaller = "C:\\WINNT\\Remvex406.exe";
    struct Case {
        const char* what;
        std::string table;
        std::map<std::string, std::string> links;  // in the group; the first also on the desktop
    } cases[] = {
        {"uninstaller in another letter case", "U.lnk=REMVEX.EXE,U\n", {{Key(g + "U.lnk"), Link(uninstaller, kUninstallArgs, "U")}}},
        {"a longer name that starts like the uninstaller", "U.lnk=remvex.exe.bak,U\n",
         {{Key(g + "U.lnk"), Link(uninstaller, kUninstallArgs, "U")}}},
        {"the base name alone is not the uninstaller", "U.lnk=Remvex,U\n", {{Key(g + "U.lnk"), Link(d + "Remvex", "", "U")}}},
        {"a separator inside a description shifts the fields",
         "A.lnk=a.exe,Desc, more\nB.lnk=b.exe,B\n",
         {{Key(g + "A.lnk"), Link(d + "a.exe", "", "Desc")},
          {Key(g + " more"), Link(d + "B.lnk", "", "b.exe")}}},  // "B" and its line feed: cut short
        {"an empty line ends the table", "A.lnk=a.exe,A\n\nB.lnk=b.exe,B\n", {{Key(g + "A.lnk"), Link(d + "a.exe", "", "A")}}},
        {"an empty link name ends the table", "A.lnk=a.exe,A\n=b.exe,B\n", {{Key(g + "A.lnk"), Link(d + "a.exe", "", "A")}}},
        {"no final line feed", "A.lnk=a.exe,A", {{Key(g + "A.lnk"), Link(d + "a.exe", "", "A")}}},
        {"an entry cut short is not made", "A.lnk=a.exe,A\nB.lnk=b.exe", {{Key(g + "A.lnk"), Link(d + "a.exe", "", "A")}}},
        {"an empty description", "A.lnk=a.exe,", {{Key(g + "A.lnk"), Link(d + "a.exe", "", "")}}},
        {"a short uninstaller-like target at the very end", "U.lnk=Rem", {}},
        {"an empty table", "", {}},
    };
    for (const auto& c : cases) {
        Start(0x0409);
        winsim::MakeDirectory(kGroup);
        Walk(c.table);
        auto links = Links();
        std::map<std::string, std::string> inGroup;
        for (const auto& link : links) {
            if (link.first.compare(0, Key(g).size() - 1, Key(g), 0, Key(g).size() - 1) == 0) inGroup.insert(link);
        }
        EXPECT_EQ(inGroup, c.links) << c.what;
        EXPECT_EQ(links.size() - inGroup.size(), c.links.empty() ? 0u : 1u) << c.what << ": one desktop link";
    }
}

TEST_F(ShortcutsTest, MissingShellFolders) {
    // No "Programs": nothing at all, not even the desktop link.
    Start(0x0409, false, true);
    EXPECT_TRUE(CreateShortcuts(context));
    EXPECT_TRUE(Links().empty());
    EXPECT_FALSE(winsim::DirectoryExists(kGroup));
    // "Programs" too long for its 259-byte buffer, or not a string: missing.
    Start(0x0409, false, true);
    winsim::RegSetString(kShellFolders, "Programs", "C:\\" + std::string(256, 'p'));
    EXPECT_TRUE(CreateShortcuts(context));
    EXPECT_TRUE(Links().empty());
    Start(0x0409, false, true);
    winsim::RegSetValue(kShellFolders, "Programs", REG_BINARY, "C:\\Menu");
    EXPECT_TRUE(CreateShortcuts(context));
    EXPECT_TRUE(Links().empty());
    // No "Desktop": the group's links only.
    Start(0x0409, true, false);
    EXPECT_TRUE(CreateShortcuts(context));
    EXPECT_EQ(Links().size(), 5u);
    EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty());
}

TEST_F(ShortcutsTest, GroupFolderThatCannotBeCreatedEndsTheRun) {
    winsim::RegSetString(kShellFolders, "Programs", "C:\\Missing\\Programs");
    winsim::ExpectMessageBox();
    EXPECT_FALSE(CreateShortcuts(context));
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{
                  "messagebox caption=\"Install\" icon=information buttons=0 owner=none text=\"Could not create "
                  "directory C:\\\\Missing\\\\Programs\\\\Quorlet V4.06 : The system cannot find the path "
                  "specified.\\r\\n\""});
    EXPECT_TRUE(Links().empty());
}

TEST_F(ShortcutsTest, AnExistingGroupAndFailingLinksArePassedOver) {
    winsim::MakeDirectory(kGroup);
    winsim::DenyAccess(kDesktop);
    winsim::WriteFile(std::string(kGroup) + "\\Information.lnk", "old");
    winsim::DenyAccess(std::string(kGroup) + "\\Information.lnk");
    EXPECT_TRUE(CreateShortcuts(context));
    EXPECT_EQ(Links().size(), 4u) << "the denied link and the desktop link fail silently";
    EXPECT_EQ(winsim::ReadFile(std::string(kGroup) + "\\Information.lnk"), "old");
    EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty());
}

}  // namespace
