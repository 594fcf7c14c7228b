#include "shipped_image.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

bool ReadWhole(const char* path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    *bytes = content.str();
    return true;
}

// Reads a file of the Windows build into `bytes` the first time.
const std::string& BuiltFile(const char* path, std::string& bytes) {
    if (bytes.empty() && !ReadWhole(path, &bytes)) {
        ADD_FAILURE() << path << " is missing: these tests read the file of the Windows build; build it with "
                      << "scripts/build.sh (or pass another path in the INSTALL_EXE / INSTALL_MAP cache variables).";
    }
    return bytes;
}

}  // namespace

const char* ShippedImagePath() { return INSTALL_EXE_PATH; }

const std::string& ShippedImage() {
    static std::string image;
    return BuiltFile(INSTALL_EXE_PATH, image);
}

const std::string& ShippedLinkMap() {
    static std::string map;
    return BuiltFile(INSTALL_MAP_PATH, map);
}

std::string ReadTestFile(const char* path) {
    std::string text;
    if (!ReadWhole(path, &text)) ADD_FAILURE() << "cannot read " << path;
    return text;
}
