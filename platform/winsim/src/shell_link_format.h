// The Shell Link (.lnk) binary format, as the public format description
// gives it: a header, the target as a link-info structure, and the string
// data (name, relative path, working folder, arguments, icon location).
#pragma once

#include <string>

namespace winsim {

struct ShellLinkData {
    std::string target;       // full path, ANSI
    std::string description;  // ANSI
    std::string arguments;
    std::string workingDir;
    std::string iconPath;
    int iconIndex = 0;
    int showCommand = 1;
    unsigned int targetAttributes = 0x20;  // FILE_ATTRIBUTE_ARCHIVE
    unsigned int targetSize = 0;
    bool targetIsDirectory = false;
};

// The file image of a link; strings are stored as UTF-16 (converted from
// the machine's ANSI code page).
std::string EncodeShellLink(const ShellLinkData& link);

}  // namespace winsim
