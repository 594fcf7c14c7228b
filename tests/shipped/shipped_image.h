// The shipped Install.EXE, as the Windows build leaves it, and its link
// map: read once for all the tests of the shipped file.
#pragma once

#include <string>

// The bytes of Install.EXE; an empty string, and a failure that says how
// to build it, when the file is missing.
const std::string& ShippedImage();
const char* ShippedImagePath();

// The linker's map of Install.EXE, likewise.
const std::string& ShippedLinkMap();

// A file that the tests read beside them (the list of allowed imports).
std::string ReadTestFile(const char* path);
