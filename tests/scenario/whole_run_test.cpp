// Whole installation runs on machines as the installer meets them, checked
// by what they leave (files, registry, Wininit.ini, Autoexec.bat, links)
// and by what the user saw.
#include <gtest/gtest.h>

#include <algorithm>

#include "install_fixture.h"
#include "lnk_reader.h"
#include "sample_machine.h"
#include "test_machine.h"
#include "ui/resource.h"
#include "winsim/filesystem.h"
#include "winsim/registry.h"
#include "winsim/restart.h"
#include "winsim/transcript.h"
#include "winsim/user.h"
#include "winsim/window_manager.h"

namespace {

const char kDest[] = "C:\\Program Files\\Quorlet V4.06";
const char kUninstallKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorlet V4.06";
const char kPendingKey[] = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager";

std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const auto& line : winsim::TranscriptLines("messagebox")) texts.push_back(line.substr(line.find(" text=") + 6));
    return texts;
}

std::vector<std::string> DialogsOpened() {
    std::vector<std::string> dialogs;
    for (const auto& line : winsim::TranscriptLines("dialog open")) {
        dialogs.push_back(line.substr(12, line.find(" owner=") - 12));
    }
    return dialogs;
}

// Everything a completed run leaves, whatever the platform.
void ExpectInstalled(const std::string& uninstallerPath, int extensionKeys = 28) {
    for (const auto& name : distribution::kAppFiles) {
        EXPECT_TRUE(winsim::FileExists(std::string(kDest) + "\\" + name)) << name;
    }
    EXPECT_TRUE(winsim::FileExists(uninstallerPath));
    const std::string group = sample::ProgramsFolder() + "\\Quorlet V4.06";
    EXPECT_EQ(FilesLike(group, "", ".lnk").size(), 5u);
    auto desktop = ParseLink(winsim::ReadFile(sample::DesktopFolder() + "\\Quorlet V4.06.lnk"));
    ASSERT_TRUE(desktop);
    EXPECT_EQ(desktop->target, std::string(kDest) + "\\Quorlet.exe");
    EXPECT_EQ(winsim::RegGetString("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Quorlet.exe", ""),
              std::string(kDest) + "\\Quorlet.exe");
    EXPECT_EQ(winsim::RegGetString(kUninstallKey, "UninstallString"),
              uninstallerPath + " /Quorlet V4.06 /" + kDest);
    int keys = 0;
    for (const auto& name : winsim::RegSubKeys("HKLM\\Software\\Classes")) {
        if (name[0] == '.' && winsim::RegGetString("HKCR\\" + name, "") == std::string("txtfile")) ++keys;
    }
    EXPECT_EQ(keys, extensionKeys);
    EXPECT_EQ(winsim::LiveWindowCount(), 0);
    EXPECT_EQ(winsim::OpenFileHandleCount(), 0);
    EXPECT_EQ(winsim::OpenKeyHandleCount(), 0);
}

TEST(WholeRunTest, NT4EnglishWithNewerDlls) {
    TestMachine machine(winsim::Platform::NT4);
    sample::Prepare();
    const std::string oldMfc = winsim::ReadFile("C:\\WINNT\\system32\\Mfc42.dll");
    winsim::ExpectDialog(IDD_DESTINATION).Enter();
    winsim::ExpectDialog(IDD_PROGRESS);
    winsim::ExpectDialog(IDD_FILETYPES).Press(IDOK);
    winsim::ExpectDialog(IDD_RESTART).Press(IDOK);
    RunInstaller();

    EXPECT_EQ(winsim::PendingExpectedWindows(), 0);
    EXPECT_TRUE(MessageTexts().empty()) << winsim::TranscriptText();
    EXPECT_EQ(DialogsOpened(), (std::vector<std::string>{
                                   "id=257 language=0x0409 caption=\"Quorlet installation\"",
                                   "id=258 language=0x0409 caption=\"Progress\"",
                                   "id=260 language=0x0409 caption=\"File type associations\"",
                                   "id=259 language=0x0409 caption=\"Restart Windows\""}));
    ExpectInstalled("C:\\WINNT\\Remvex406.exe");
    auto path = winsim::RegGetValue(sample::kEnvironment, "Path");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(winsim::RegGetString(sample::kEnvironment, "Path"),
              std::string("%SystemRoot%\\system32;%SystemRoot%;") + kDest);
    EXPECT_EQ(winsim::TranscriptLines("exitwindows"), std::vector<std::string>{"exitwindows reboot flags=2"});

    // The DLLs are replaced when Windows starts again.
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\system32\\Mfc42.dll"), oldMfc);
    EXPECT_TRUE(winsim::RegGetValue(kPendingKey, "PendingFileRenameOperations"));
    winsim::Restart();
    for (const auto& name : distribution::kSystemDlls) {
        EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\system32\\" + name), winsim::ReadFile("D:\\Setup\\" + name)) << name;
    }
}

TEST(WholeRunTest, NT4NothingNewerAndPathExtendedLogsOff) {
    TestMachine machine(winsim::Platform::NT4);
    sample::Options options;
    options.systemDllsUpToDate = true;
    sample::Prepare(options);
    winsim::ExpectDialog(IDD_DESTINATION).Enter();
    winsim::ExpectDialog(IDD_PROGRESS);
    winsim::ExpectDialog(IDD_FILETYPES).Press(IDOK);
    winsim::ExpectMessageBox();
    RunInstaller();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{
                                  "\"The Quorlet installation will now effect a Logoff to take the modification of "
                                  "the Path environment variable into account.\""});
    EXPECT_EQ(winsim::Transcript().back(), "exitwindows logoff flags=0");
    EXPECT_FALSE(winsim::RegGetValue(kPendingKey, "PendingFileRenameOperations"));
    ExpectInstalled("C:\\WINNT\\Remvex406.exe");
}

TEST(WholeRunTest, NT4WithoutTheShutdownPrivilege) {
    TestMachine machine(winsim::Platform::NT4);
    winsim::settings().shutdownPrivilege = false;
    sample::Prepare();
    winsim::ExpectDialog(IDD_DESTINATION).Enter();
    winsim::ExpectDialog(IDD_PROGRESS);
    winsim::ExpectDialog(IDD_FILETYPES).Press(IDCANCEL);
    winsim::ExpectMessageBox();
    RunInstaller();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{
                                  "\"Some system files were busy and you will have to restart Windows in order to "
                                  "terminate the installation !\""});
    EXPECT_TRUE(winsim::TranscriptLines("exitwindows").empty());
    EXPECT_EQ(DialogsOpened().size(), 3u) << "no restart dialog";
    ExpectInstalled("C:\\WINNT\\Remvex406.exe", 1);  // only the machine's own .txt
}

TEST(WholeRunTest, Windows98French) {
    TestMachine machine(winsim::Platform::Win98, 0x040C);
    sample::Prepare();
    const std::string others = "[CombineVxDs]\r\nvxd=C:\\WINDOWS\\SYSTEM\\x.vxd\r\n";
    winsim::WriteFile("C:\\WINDOWS\\WININIT.INI", others);
    winsim::ExpectDialog(IDD_DESTINATION).Enter();
    winsim::ExpectDialog(IDD_PROGRESS);
    winsim::ExpectDialog(IDD_FILETYPES).Press(IDOK);
    winsim::ExpectDialog(IDD_RESTART).Click(IDC_RESTART_LATER).Press(IDOK);
    RunInstaller();

    EXPECT_TRUE(MessageTexts().empty()) << winsim::TranscriptText();
    EXPECT_EQ(DialogsOpened(), (std::vector<std::string>{
                                   "id=257 language=0x040C caption=\"Installation de Quorlet\"",
                                   "id=258 language=0x0409 caption=\"Avancement\"",
                                   "id=260 language=0x040C caption=\"Associations de types de fichiers\"",
                                   "id=259 language=0x040C caption=\"Red\xE9marrer Windows\""}));
    EXPECT_NE(winsim::TranscriptText().find("\"Installation de Mfc42.dll en cours.\""), std::string::npos);
    ExpectInstalled("C:\\WINDOWS\\Remvex406.exe");
    EXPECT_TRUE(winsim::FileExists(sample::ProgramsFolder() + "\\Quorlet V4.06\\D\xE9sinstaller.lnk"));

    const std::string wininit = winsim::ReadFile("C:\\WINDOWS\\Wininit.ini");
    EXPECT_EQ(wininit.compare(0, others.size(), others), 0);
    EXPECT_EQ(std::count(wininit.begin(), wininit.end(), '\n'), 2 + 1 + 8);
    EXPECT_EQ(winsim::ReadFile("C:\\AUTOEXEC.BAT"),
              "@ECHO OFF\r\nPROMPT $P$G\r\nPATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND;\"C:\\Program Files\\Quorlet V4.06\"\r\n");
    EXPECT_TRUE(winsim::TranscriptLines("exitwindows").empty());

    winsim::Restart();
    for (const auto& name : distribution::kSystemDlls) {
        EXPECT_EQ(winsim::ReadFile("C:\\WINDOWS\\SYSTEM\\" + name), winsim::ReadFile("D:\\Setup\\" + name)) << name;
    }
    EXPECT_TRUE(winsim::FileExists("C:\\WINDOWS\\Wininit.bak"));
}

TEST(WholeRunTest, Windows95Italian) {
    TestMachine machine(winsim::Platform::Win95, 0x0410);
    sample::Options options;
    options.systemDllsUpToDate = true;
    sample::Prepare(options);
    winsim::ExpectDialog(IDD_DESTINATION).Enter();
    winsim::ExpectDialog(IDD_PROGRESS);
    winsim::ExpectDialog(IDD_FILETYPES).Press(IDOK);
    // Autoexec.bat changed: a restart is offered.
    winsim::ExpectDialog(IDD_RESTART).Press(IDOK);
    RunInstaller();
    EXPECT_EQ(DialogsOpened(), (std::vector<std::string>{
                                   "id=257 language=0x0410 caption=\"Installazione di Quorlet\"",
                                   "id=258 language=0x0409 caption=\"Avanzamento\"",
                                   "id=260 language=0x0410 caption=\"Associazioni di tipi di file\"",
                                   "id=259 language=0x0410 caption=\"Riavviare Windows\""}));
    EXPECT_FALSE(winsim::FileExists("C:\\WINDOWS\\Wininit.ini"));
    ExpectInstalled("C:\\WINDOWS\\Remvex406.exe");
    EXPECT_TRUE(winsim::FileExists(sample::ProgramsFolder() + "\\Quorlet V4.06\\ Informazioni.lnk"));
    EXPECT_EQ(winsim::TranscriptLines("exitwindows"), std::vector<std::string>{"exitwindows reboot flags=2"});
}

TEST(WholeRunTest, NT351IsRefused) {
    TestMachine machine(winsim::Platform::NT351);
    sample::Prepare();
    const std::string registry = winsim::RegSave();
    winsim::ExpectMessageBox();
    RunInstaller();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"\"Quorlet requiert Windows 95, 98, ou NT4 ou plus !\""});
    EXPECT_TRUE(DialogsOpened().empty());
    EXPECT_FALSE(winsim::DirectoryExists(kDest));
    EXPECT_EQ(winsim::RegSave(), registry);
}

TEST(WholeRunTest, CancelWritesNothing) {
    TestMachine machine(winsim::Platform::Win98);
    sample::Prepare();
    winsim::MakeDirectory("D:\\Elsewhere");
    const std::string registry = winsim::RegSave();
    const size_t writesBefore = winsim::FileWrites().size();
    winsim::ExpectDialog(IDD_DESTINATION).Press(IDC_BROWSE).Press(IDCANCEL);
    winsim::ExpectBrowser().Pick("D:\\Elsewhere");
    RunInstaller();
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(winsim::FileWrites().size(), writesBefore);
    EXPECT_EQ(winsim::RegSave(), registry);
    EXPECT_FALSE(winsim::DirectoryExists(kDest));
}

TEST(WholeRunTest, ASecondInstallationOverTheFirst) {
    TestMachine machine(winsim::Platform::NT4);
    sample::Options options;
    options.systemDllsUpToDate = true;
    sample::Prepare(options);
    for (int run = 0; run < 2; ++run) {
        winsim::ExpectDialog(IDD_DESTINATION).Enter();
        winsim::ExpectDialog(IDD_PROGRESS);
        winsim::ExpectDialog(IDD_FILETYPES).Press(IDOK);
        winsim::ExpectMessageBox();
        if (run == 1) winsim::WriteFile(std::string(kDest) + "\\Readmeus.doc", "edited by the user");
        const size_t before = winsim::Transcript().size();
        RunInstaller();
        const std::vector<std::string> lines(winsim::Transcript().begin() + static_cast<long>(before),
                                             winsim::Transcript().end());
        const std::string last = lines.back();
        if (run == 0) {
            EXPECT_EQ(last, "exitwindows logoff flags=0");
        } else {
            // The Path already holds the destination: no logoff, the closing message.
            EXPECT_NE(lines[lines.size() - 1].find("Installation normally terminated. You can now use Quorlet."),
                      std::string::npos)
                << last;
        }
    }
    EXPECT_EQ(winsim::ReadFile(std::string(kDest) + "\\Readmeus.doc"), winsim::ReadFile("D:\\Setup\\Readmeus.doc"));
    EXPECT_EQ(winsim::RegGetString(sample::kEnvironment, "Path"),
              std::string("%SystemRoot%\\system32;%SystemRoot%;") + kDest);
    ExpectInstalled("C:\\WINNT\\Remvex406.exe");
}

}  // namespace
