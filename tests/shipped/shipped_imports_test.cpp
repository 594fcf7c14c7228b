// The imports of the shipped Install.EXE: only functions of the listed
// system DLLs that Windows 95 and Windows NT 4.0 both export, as the
// checked-in list allowed_imports.txt names them. A C runtime (msvcrt.dll),
// the compiler's DLLs or any function the list lacks fails the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "shipped_image.h"
#include "winsim/pe_image.h"

namespace {

// The DLLs that every Windows 95 and NT 4.0 system has.
const std::set<std::string> kSystemDlls = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL",   "ADVAPI32.DLL",
                                           "SHELL32.DLL",  "OLE32.DLL",  "COMCTL32.DLL", "VERSION.DLL"};

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

// allowed_imports.txt: "[DLL]" opens the functions of a DLL; a function line
// is the name and what the documentation says of it; "#" starts a comment.
std::map<std::string, std::set<std::string>> ReadAllowedImports() {
    std::map<std::string, std::set<std::string>> allowed;
    std::istringstream lines(ReadTestFile(ALLOWED_IMPORTS_PATH));
    std::string line, dll;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        if (line[first] == '[') {
            const std::size_t close = line.find(']', first);
            EXPECT_NE(close, std::string::npos) << "line " << number << ": " << line;
            dll = Upper(line.substr(first + 1, close - first - 1));
            EXPECT_TRUE(kSystemDlls.count(dll)) << "line " << number << ": not a system DLL: " << dll;
            continue;
        }
        std::istringstream fields(line);
        std::string function, note;
        fields >> function;
        std::getline(fields, note);
        EXPECT_FALSE(dll.empty()) << "line " << number << ": function before any [DLL]";
        EXPECT_NE(note.find_first_not_of(" \t\r"), std::string::npos)
            << "line " << number << ": " << function << " without what the documentation says";
        EXPECT_TRUE(allowed[dll].insert(function).second) << "line " << number << ": listed twice: " << function;
    }
    return allowed;
}

TEST(ShippedImportsTest, EveryImportIsAListedFunctionOfASystemDll) {
    const std::map<std::string, std::set<std::string>> allowed = ReadAllowedImports();
    ASSERT_FALSE(allowed.empty());
    const std::string& image = ShippedImage();
    ASSERT_FALSE(image.empty());
    std::vector<winsim::PeImportedDll> imports;
    ASSERT_TRUE(winsim::ReadPeImports(image, &imports)) << "unreadable import table";
    ASSERT_FALSE(imports.empty());
    std::size_t functions = 0;
    for (const winsim::PeImportedDll& dll : imports) {
        const std::string name = Upper(dll.name);
        if (!kSystemDlls.count(name)) {
            ADD_FAILURE() << "imports from " << dll.name << ", which is not one of the system DLLs";
            continue;
        }
        auto listed = allowed.find(name);
        for (const std::string& function : dll.functions) {
            EXPECT_TRUE(listed != allowed.end() && listed->second.count(function))
                << dll.name << "!" << function << " is not in allowed_imports.txt";
        }
        // By ordinal the list cannot vouch for it: ordinals differ between
        // Windows 95 and NT.
        for (WORD ordinal : dll.ordinals) ADD_FAILURE() << dll.name << " ordinal " << ordinal;
        functions += dll.functions.size() + dll.ordinals.size();
    }
    std::cout << "Install.EXE imports " << functions << " functions from " << imports.size() << " DLLs\n";
}

}  // namespace
