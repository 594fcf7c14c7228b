// Whole runs through the file phases with a distribution of full size: the
// progress the user sees, the files in place, the DLL replacements queued
// and carried out by the next start of Windows, and a failure on the way.
#include <gtest/gtest.h>

#include <algorithm>

#include "install/file_lists.h"
#include "install_fixture.h"
#include "test_machine.h"
#include "ui/resource.h"
#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/registry.h"
#include "winsim/restart.h"
#include "winsim/transcript.h"
#include "winsim/user.h"
#include "winsim/window_manager.h"

namespace {

const char kDest[] = "C:\\Program Files\\Quorlet V4.06";
const char kPendingKey[] = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager";

// The status lines and bar positions the progress dialog showed, in order.
std::vector<std::string> StatusLines() {
    std::vector<std::string> lines;
    const std::string prefix = "text dialog=258 id=1029 ";
    for (const auto& line : winsim::TranscriptLines(prefix)) lines.push_back(line.substr(prefix.size()));
    return lines;
}

std::vector<int> Positions() {
    std::vector<int> positions;
    const std::string prefix = "progress dialog=258 id=1027 pos=";
    for (const auto& line : winsim::TranscriptLines(prefix)) positions.push_back(std::stoi(line.substr(prefix.size())));
    return positions;
}

std::vector<std::string> AllNames() {
    std::vector<std::string> names = distribution::kSystemDlls;
    names.insert(names.end(), distribution::kAppFiles.begin(), distribution::kAppFiles.end());
    return names;
}

// Index of the first transcript line that starts with `prefix`.
std::size_t LineIndex(const std::string& prefix) {
    const auto& lines = winsim::Transcript();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, prefix.size(), prefix) == 0) return i;
    }
    return lines.size();
}

TEST(FilePhasesRunTest, FullDistributionOnNt) {
    TestMachine machine(winsim::Platform::NT4);
    distribution::Options options;  // full size, about 5 MiB
    options.dllVersions["Mfc42.dll"] = {6, 0, 9782, 0};
    PlaceDistribution(options);
    PlaceSystemDll("Mfc42.dll", {6, 0, 8168, 0});
    for (const char* name : {"Msvcrt.dll", "Oleaut32.dll", "Olepro32.dll"}) {
        PlaceSystemDll(name, distribution::DefaultDllVersion(name));
    }
    const std::string oldMfc = winsim::ReadFile("C:\\WINNT\\system32\\Mfc42.dll");
    winsim::RegSetString("HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path",
                         "C:\\WINNT\\system32");
    winsim::ExpectDialog(IDD_DESTINATION).Enter();
    winsim::ExpectDialog(IDD_PROGRESS);
    winsim::ExpectDialog(IDD_FILETYPES).Escape();
    winsim::ExpectDialog(IDD_RESTART).Click(IDC_RESTART_LATER).Press(IDOK);
    RunInstaller();
    EXPECT_EQ(winsim::PendingExpectedWindows(), 0);
    EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty()) << winsim::TranscriptText();

    // Every file announced once, in list order, at the share of the files
    // finished before it: 57 files, 0 first, 7 for the fifth, 98 last.
    std::vector<std::string> expectedStatus;
    std::vector<int> expectedPositions;
    const std::vector<std::string> names = AllNames();
    for (std::size_t k = 0; k < names.size(); ++k) {
        expectedStatus.push_back("\"Installing " + names[k] + ".\"");
        expectedPositions.push_back(static_cast<int>(k * 100 / 57));
    }
    ASSERT_EQ(names.size(), 57u);
    EXPECT_EQ(StatusLines(), expectedStatus);
    EXPECT_EQ(Positions(), expectedPositions);
    EXPECT_EQ(Positions().front(), 0);
    EXPECT_EQ(Positions()[4], 7);
    EXPECT_EQ(StatusLines()[4], "\"Installing 64asm.ini.\"");
    EXPECT_EQ(Positions().back(), 98);
    EXPECT_EQ(winsim::TranscriptLines("text dialog=258 id=1028").back(), "text dialog=258 id=1028 \"98%\"");
    // The dialog goes after the last file, before the next window opens.
    EXPECT_LT(LineIndex("text dialog=258 id=1029 \"Installing Tipsus.txt.\""), LineIndex("dialog destroy id=258"));
    EXPECT_LT(LineIndex("dialog destroy id=258"), LineIndex("dialog open id=260"));
    EXPECT_EQ(winsim::LiveWindowCount(), 0);

    for (const auto& name : distribution::kAppFiles) {
        EXPECT_EQ(winsim::ReadFile(std::string(kDest) + "\\" + name), distribution::FileContent(name, options))
            << name;
    }
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\Remvex406.exe"), distribution::FileContent("Remvex.exe", options));

    // Mfc42.dll waits for the restart; the others were up to date.
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\system32\\Mfc42.dll"), oldMfc);
    EXPECT_EQ(FilesLike("C:\\WINNT\\system32", "tem", ".tmp").size(), 1u);
    EXPECT_TRUE(winsim::RegGetValue(kPendingKey, "PendingFileRenameOperations").has_value());
    winsim::Restart();
    EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\system32\\Mfc42.dll"), distribution::FileContent("Mfc42.dll", options));
    EXPECT_TRUE(FilesLike("C:\\WINNT\\system32", "tem", ".tmp").empty());
}

TEST(FilePhasesRunTest, Windows98QueuesThroughWininitBesideOtherPrograms) {
    TestMachine machine(winsim::Platform::Win98);
    distribution::Options options = SmallDistribution();
    PlaceDistribution(options);
    // No system DLL installed yet: all four are queued.
    const std::string others = "[CombineVxDs]\r\nvxd=C:\\WINDOWS\\SYSTEM\\x.vxd\r\n";
    winsim::WriteFile("C:\\WINDOWS\\Wininit.ini", others);
    winsim::ExpectDialog(IDD_DESTINATION).Enter();
    winsim::ExpectDialog(IDD_PROGRESS);
    winsim::ExpectDialog(IDD_FILETYPES).Escape();
    winsim::ExpectDialog(IDD_RESTART).Click(IDC_RESTART_LATER).Press(IDOK);
    RunInstaller();
    EXPECT_TRUE(winsim::TranscriptLines("messagebox").empty()) << winsim::TranscriptText();
    const std::string wininit = winsim::ReadFile("C:\\WINDOWS\\Wininit.ini");
    ASSERT_EQ(wininit.compare(0, others.size(), others), 0) << wininit;
    EXPECT_EQ(std::count(wininit.begin(), wininit.end(), '\n'), 2 + 1 + 8);
    EXPECT_EQ(FilesLike("C:\\WINDOWS\\SYSTEM", "tem", ".tmp").size(), 4u);

    winsim::Restart();
    for (const auto& name : distribution::kSystemDlls) {
        EXPECT_EQ(winsim::ReadFile("C:\\WINDOWS\\SYSTEM\\" + name), distribution::FileContent(name, options)) << name;
    }
    EXPECT_EQ(winsim::ReadFile("C:\\WINDOWS\\Wininit.bak"), wininit);
}

TEST(FilePhasesRunTest, AFailedCopyAfterAQueuedReplacementEndsTheRunBehindTheProgress) {
    TestMachine machine(winsim::Platform::NT4);
    distribution::Options options = SmallDistribution();
    options.omit.insert("Latex.ini");  // the 33rd application file
    PlaceDistribution(options);
    PlaceSystemDll("Msvcrt.dll", {5, 0, 0, 0});  // older: queued; the other three missing: queued
    winsim::ExpectDialog(IDD_DESTINATION).Enter();
    winsim::ExpectDialog(IDD_PROGRESS);
    winsim::ExpectMessageBox();
    RunInstaller();
    EXPECT_EQ(winsim::TranscriptLines("messagebox"),
              std::vector<std::string>{StopBox("Copying D:\\Setup\\Latex.ini to C:\\Program Files\\Quorlet V4.06\\"
                                               "Latex.ini : The system cannot find the file specified.\r\n")});
    // The message came while the progress dialog showed the failing file.
    EXPECT_LT(LineIndex("messagebox"), LineIndex("dialog destroy id=258"));
    EXPECT_EQ(StatusLines().back(), "\"Installing Latex.ini.\"");
    EXPECT_EQ(Positions().back(), (4 + 32) * 100 / 57);
    EXPECT_EQ(winsim::LiveWindowCount(), 0);
    EXPECT_FALSE(winsim::FileExists(std::string(kDest) + "\\Latex.ini"));
    EXPECT_TRUE(winsim::FileExists(std::string(kDest) + "\\Latex.dll"));
    EXPECT_TRUE(FilesLike("C:\\WINNT", "Remvex", ".exe").empty());

    // The queued replacements still take place at the next start.
    winsim::Restart();
    for (const auto& name : distribution::kSystemDlls) {
        EXPECT_EQ(winsim::ReadFile("C:\\WINNT\\system32\\" + name), distribution::FileContent(name, options)) << name;
    }
}

}  // namespace
