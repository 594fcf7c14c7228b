// A machine as the installer meets it in the field: the shell's folders
// and settings in the registry, the search path (the NT "Path" value or
// C:\AUTOEXEC.BAT), a text-file class, system DLLs of the platform's era,
// and the product's distribution in D:\Setup. Prepared on the current
// winsim machine (drives C and D mapped).
#pragma once

#include <string>

#include "distribution.h"

namespace sample {

struct Options {
    // Versions of the DLLs already in the system directory: older than the
    // distribution's by default, so that every one of them is replaced.
    bool systemDllsUpToDate = false;
    // The distribution in D:\Setup.
    distribution::Options distribution;
};

// The keys and values the sample machine reads, spelt in full.
extern const char kShellFolders[];  // HKCU ...\Explorer\Shell Folders
extern const char kEnvironment[];   // HKLM ...\Session Manager\Environment
extern const char kCurrentVersion[];  // HKLM Software\Microsoft\Windows\CurrentVersion

// Folders of the machine's current platform.
std::string ProgramsFolder();
std::string DesktopFolder();

void Prepare(const Options& options = Options());

}  // namespace sample
