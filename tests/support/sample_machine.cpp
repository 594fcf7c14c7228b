#include "sample_machine.h"

#include "install_fixture.h"
#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/registry.h"

namespace sample {

const char kShellFolders[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kEnvironment[] = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char kCurrentVersion[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";

std::string ProgramsFolder() {
    return winsim::IsNT() ? winsim::settings().windowsDir + "\\Profiles\\Administrator\\Start Menu\\Programs"
                          : winsim::settings().windowsDir + "\\Start Menu\\Programs";
}

std::string DesktopFolder() {
    return winsim::IsNT() ? winsim::settings().windowsDir + "\\Profiles\\Administrator\\Desktop"
                          : winsim::settings().windowsDir + "\\Desktop";
}

namespace {

// A version that compares lower in its first three parts (0.0.0 stays).
pe::Version Older(pe::Version version) {
    for (int part = 2; part >= 0; --part) {
        if (version[part] > 0) {
            --version[part];
            return version;
        }
    }
    return version;
}

}  // namespace

void Prepare(const Options& options) {
    const std::string windows = winsim::settings().windowsDir;
    winsim::MakeDirectory(windows);
    winsim::MakeDirectory(winsim::settings().systemDir);
    winsim::MakeDirectory("C:\\Program Files");
    winsim::MakeDirectory(ProgramsFolder());
    winsim::MakeDirectory(DesktopFolder());

    winsim::RegSetString(kCurrentVersion, "ProgramFilesDir", "C:\\Program Files");
    winsim::RegSetString(kShellFolders, "Programs", ProgramsFolder());
    winsim::RegSetString(kShellFolders, "Desktop", DesktopFolder());
    winsim::RegSetString("HKCR\\.txt", "", "txtfile");
    winsim::RegSetString("HKCR\\txtfile", "", "Text Document");
    if (winsim::IsNT()) {
        winsim::RegSetString("HKCR\\txtfile\\shell\\open\\command", "",
                             "%SystemRoot%\\system32\\NOTEPAD.EXE %1", REG_EXPAND_SZ);
        winsim::RegSetString(kEnvironment, "Path", "%SystemRoot%\\system32;%SystemRoot%", REG_EXPAND_SZ);
        winsim::RegSetString(kEnvironment, "ComSpec", "%SystemRoot%\\system32\\cmd.exe", REG_EXPAND_SZ);
    } else {
        winsim::RegSetString("HKCR\\txtfile\\shell\\open\\command", "", windows + "\\NOTEPAD.EXE %1");
        winsim::WriteFile("C:\\AUTOEXEC.BAT", "@ECHO OFF\r\nPROMPT $P$G\r\nPATH=" + windows + ";" + windows +
                                                  "\\COMMAND\r\n");
    }

    for (const auto& name : distribution::kSystemDlls) {
        pe::Version version = distribution::DefaultDllVersion(name);
        auto chosen = options.distribution.dllVersions.find(name);
        if (chosen != options.distribution.dllVersions.end()) version = chosen->second;
        if (!options.systemDllsUpToDate) version = Older(version);
        PlaceSystemDll(name, version);
    }
    PlaceDistribution(options.distribution);
}

}  // namespace sample
