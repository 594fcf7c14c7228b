// The headers of the shipped Install.EXE: a 32-bit Windows GUI program that
// Windows 95 and NT 4.0 load, built without a C runtime: no unwinding data,
// no runtime sections, and nothing taken from the compiler's support
// library beyond the stack probe.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "shipped_image.h"
#include "winsim/pe_image.h"

namespace {

const WORD kMachineI386 = 0x014C;
const WORD kRelocationsStripped = 0x0001;
const WORD kExecutableImage = 0x0002;
const WORD kDll = 0x2000;
const WORD kSubsystemWindowsGui = 2;
const WORD kDynamicBase = 0x0040;

// "dir/libx.a(member.o)" gives "libx.a".
std::string ArchiveOf(const std::string& member) {
    const std::string archive = member.substr(0, member.find('('));
    const std::size_t slash = archive.rfind('/');
    return slash == std::string::npos ? archive : archive.substr(slash + 1);
}

bool ReadHeaders(winsim::PeHeaders* headers) {
    const std::string& image = ShippedImage();
    if (image.empty()) return false;
    EXPECT_TRUE(winsim::ReadPeHeaders(image, headers)) << ShippedImagePath() << " is not a PE image";
    return !headers->sections.empty();
}

TEST(ShippedHeadersTest, AWindowsGuiProgramForVersion4) {
    winsim::PeHeaders h;
    ASSERT_TRUE(ReadHeaders(&h));
    EXPECT_EQ(h.machine, kMachineI386);
    EXPECT_FALSE(h.pe32plus);
    EXPECT_TRUE(h.characteristics & kExecutableImage);
    EXPECT_FALSE(h.characteristics & kDll);
    EXPECT_EQ(h.subsystem, kSubsystemWindowsGui);
    EXPECT_EQ(h.majorSubsystemVersion, 4);
    EXPECT_EQ(h.minorSubsystemVersion, 0);
    EXPECT_EQ(h.majorOsVersion, 4);
    EXPECT_EQ(h.minorOsVersion, 0);
    // Loaded at its preferred base, as Windows 95 and NT 4.0 load every
    // program: no relocations, and the header says so.
    EXPECT_EQ(h.imageBase, 0x400000u);
    EXPECT_EQ(h.Directory(winsim::kPeRelocationDirectory).size, 0u);
    EXPECT_TRUE(h.characteristics & kRelocationsStripped);
    EXPECT_FALSE(h.dllCharacteristics & kDynamicBase);
    // Page-sized sections and 512-byte file records, as those loaders map them.
    EXPECT_EQ(h.sectionAlignment, 0x1000u);
    EXPECT_EQ(h.fileAlignment, 0x200u);
    // The entry point lies in the code.
    bool inCode = false;
    for (const winsim::PeSection& s : h.sections) {
        inCode |= s.name == ".text" && h.entryPoint >= s.virtualAddress &&
                  h.entryPoint - s.virtualAddress < s.virtualSize;
    }
    EXPECT_TRUE(inCode) << "entry point " << std::hex << h.entryPoint;
}

TEST(ShippedHeadersTest, NoUnwindingDataNorRuntimeSections) {
    winsim::PeHeaders h;
    ASSERT_TRUE(ReadHeaders(&h));
    // Code, constants, zeroed data, imports, resources; a C runtime would
    // add its own (.CRT, .tls), exceptions their tables (.eh_frame, .pdata).
    const std::set<std::string> expected = {".text", ".rdata", ".data", ".bss", ".idata", ".rsrc"};
    for (const winsim::PeSection& s : h.sections) EXPECT_TRUE(expected.count(s.name)) << "section " << s.name;
    for (int directory : {winsim::kPeExportDirectory, winsim::kPeExceptionDirectory, winsim::kPeSecurityDirectory,
                          winsim::kPeDebugDirectory, winsim::kPeTlsDirectory, winsim::kPeLoadConfigDirectory,
                          winsim::kPeBoundImportDirectory, winsim::kPeDelayImportDirectory,
                          winsim::kPeClrDirectory}) {
        EXPECT_EQ(h.Directory(directory).rva, 0u) << "data directory " << directory;
        EXPECT_EQ(h.Directory(directory).size, 0u) << "data directory " << directory;
    }
}

// The archive members that the link took in, from the linker's map: the
// import libraries of the system DLLs, the interface ids of the shell link,
// and of the compiler's support library only the stack probe that frames
// of a page or more need. Anything else (64-bit division, start-up code,
// a C or C++ runtime) would be runtime code that the program does not own.
TEST(ShippedHeadersTest, TheLinkTakesOnlyImportLibrariesAndTheStackProbe) {
    const std::string& map = ShippedLinkMap();
    ASSERT_FALSE(map.empty());
    const std::string header = "Archive member included to satisfy reference by file (symbol)";
    const std::size_t start = map.find(header);
    ASSERT_NE(start, std::string::npos) << "not a linker map";
    const std::size_t end = map.find("\nDiscarded input sections", start);
    std::istringstream lines(map.substr(start + header.size(), end - start - header.size()));
    const std::set<std::string> importLibraries = {"libkernel32.a", "libuser32.a", "libgdi32.a",  "libadvapi32.a",
                                                   "libshell32.a",  "libole32.a",  "libcomctl32.a", "libversion.a",
                                                   "libuuid.a"};
    std::string line;
    int probes = 0;
    while (std::getline(lines, line)) {
        // A member starts a line; the file that needed it follows, indented.
        if (line.empty() || line[0] == ' ') continue;
        const std::string member = line.substr(0, line.find(' '));
        ASSERT_NE(member.find('('), std::string::npos) << line;
        const std::string archive = ArchiveOf(member);
        if (member.find("CMakeFiles/Install.dir/") == 0 || importLibraries.count(archive)) continue;
        if (archive == "libgcc.a" && member.substr(member.find('(')) == "(_chkstk_ms.o)") {
            ++probes;
            continue;
        }
        ADD_FAILURE() << "linked in from outside the program and the system: " << member;
    }
    EXPECT_LE(probes, 1);
}

}  // namespace
