// Reads a Shell Link (.lnk) file back: what the installer's links point at.
#pragma once

#include <optional>
#include <string>

struct LinkContents {
    std::string target;  // the link info's local base path
    std::string description;
    std::string relativePath;
    std::string workingDir;
    std::string arguments;
    std::string iconLocation;
    int iconIndex = 0;
    int showCommand = 0;
};

// nullopt when the bytes are not a well-formed link. Strings come back in
// code page 1252 (UTF-16 strings are converted).
std::optional<LinkContents> ParseLink(const std::string& bytes);
