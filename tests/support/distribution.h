// The product's distribution folder as the publisher ships it: the four
// system DLLs, the 53 application files (the editor "Quorlet.exe" among
// them) and the uninstaller "Remvex.exe". Built into any host folder;
// every byte is deterministic.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "pe_writer.h"

namespace distribution {

// The file names, in the order the product lists them.
extern const std::vector<std::string> kSystemDlls;
extern const std::vector<std::string> kAppFiles;
extern const char kEditor[];       // "Quorlet.exe"
extern const char kUninstaller[];  // "Remvex.exe"

struct Options {
    // Versions of the system DLLs; a DLL not named here gets its default.
    std::map<std::string, pe::Version> dllVersions;
    // DLLs written without a version resource.
    std::set<std::string> dllsWithoutVersion;
    // The editor's version resource; without it, a program with none.
    bool editorHasVersion = true;
    pe::VersionResource editor = DefaultEditorVersion();
    // Sizes of the files: 1.0 gives about 5 MiB in all; smaller scales
    // give smaller files (programs never smaller than their headers).
    double sizeScale = 1.0;
    // Files left out of the folder.
    std::set<std::string> omit;

    static pe::VersionResource DefaultEditorVersion();
};

// The default version of each system DLL.
pe::Version DefaultDllVersion(const std::string& name);

// Writes the distribution into hostDir (created when missing). Returns the
// total number of bytes written.
std::size_t Build(const std::string& hostDir, const Options& options = Options());

// The bytes of one file of the distribution.
std::string FileContent(const std::string& name, const Options& options);

}  // namespace distribution
