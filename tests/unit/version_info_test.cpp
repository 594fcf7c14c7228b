// Version resources of PE files: GetFileVersionInfoSizeA,
// GetFileVersionInfoA and VerQueryValueA over files made by the PE writer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "pe_writer.h"
#include "test_machine.h"
#include "winsim/filesystem.h"

namespace {

pe::VersionResource Described(pe::Version file) {
    pe::VersionResource version;
    version.file = file;
    version.strings = {{"CompanyName", "Quorlet Software"}, {"FileDescription", "Test module \xE9t\xE9"}};
    return version;
}

std::string Image(bool dll, bool pe32plus, const std::optional<pe::VersionResource>& version,
                  bool resourceSection = true) {
    pe::Options options;
    options.dll = dll;
    options.pe32plus = pe32plus;
    options.version = version;
    options.resourceSection = resourceSection;
    return pe::BuildImage(options);
}

// The whole version block of a file, as the installer reads it.
struct Block {
    std::vector<char> bytes;
    bool read = false;
};

Block ReadBlock(const char* path) {
    Block block;
    DWORD handle = 7;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    EXPECT_EQ(handle, 0u);
    if (size == 0) return block;
    block.bytes.resize(size);
    block.read = GetFileVersionInfoA(path, handle, size, block.bytes.data()) != FALSE;
    return block;
}

TEST(VersionInfoTest, FilesWithoutVersionGiveZeroAndTheErrorWindowsGives) {
    TestMachine machine;
    winsim::WriteFile("C:\\v\\notes.txt", "just text\r\n");
    winsim::WriteFile("C:\\v\\norsrc.dll", Image(true, false, std::nullopt, false));
    winsim::WriteFile("C:\\v\\rcdata.dll", Image(true, false, std::nullopt, true));
    winsim::WriteFile("C:\\v\\empty.dll", "");
    winsim::WriteFile("C:\\v\\mzonly.exe", "MZ");
    struct Case {
        const char* path;
        DWORD error;
    } cases[] = {
        {"C:\\v\\missing.dll", ERROR_FILE_NOT_FOUND},
        {"C:\\nowhere\\x.dll", ERROR_PATH_NOT_FOUND},
        {"C:\\v\\notes.txt", ERROR_RESOURCE_DATA_NOT_FOUND},
        {"C:\\v\\empty.dll", ERROR_RESOURCE_DATA_NOT_FOUND},
        {"C:\\v\\mzonly.exe", ERROR_RESOURCE_DATA_NOT_FOUND},
        {"C:\\v\\norsrc.dll", ERROR_RESOURCE_DATA_NOT_FOUND},
        {"C:\\v\\rcdata.dll", ERROR_RESOURCE_TYPE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        DWORD handle = 5;
        EXPECT_EQ(GetFileVersionInfoSizeA(c.path, &handle), 0u) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
        char block[64];
        EXPECT_FALSE(GetFileVersionInfoA(c.path, 0, sizeof block, block)) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
}

TEST(VersionInfoTest, FixedInfoOfProgramsAndDllsInBothFormats) {
    TestMachine machine;
    struct Case {
        bool dll;
        bool pe32plus;
        pe::Version version;
    } cases[] = {
        {false, false, {4, 0, 6, 1}},
        {true, false, {6, 0, 8665, 0}},
        {false, true, {7, 8, 9, 10}},
        {true, true, {65535, 1, 65534, 2}},
    };
    for (const auto& c : cases) {
        pe::VersionResource version = Described(c.version);
        version.dll = c.dll;
        winsim::WriteFile("C:\\v\\file", Image(c.dll, c.pe32plus, version));
        Block block = ReadBlock("C:\\v\\file");
        ASSERT_TRUE(block.read);
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(block.bytes.data(), "\\", reinterpret_cast<LPVOID*>(&info), &length));
        ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
        EXPECT_EQ(info->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(HIWORD(info->dwFileVersionMS), c.version[0]);
        EXPECT_EQ(LOWORD(info->dwFileVersionMS), c.version[1]);
        EXPECT_EQ(HIWORD(info->dwFileVersionLS), c.version[2]);
        EXPECT_EQ(LOWORD(info->dwFileVersionLS), c.version[3]);
        EXPECT_EQ(info->dwFileType, c.dll ? 2u : 1u);  // VFT_DLL, VFT_APP
    }
}

TEST(VersionInfoTest, ReportsTwiceTheResourceAndFourBytes) {
    TestMachine machine;
    const pe::VersionResource version = Described({1, 2, 3, 4});
    winsim::WriteFile("C:\\v\\a.dll", Image(true, false, version));
    EXPECT_EQ(GetFileVersionInfoSizeA("C:\\v\\a.dll", nullptr), pe::BuildVersionResource(version).size() * 2 + 4);
}

TEST(VersionInfoTest, StringsAndTranslationByTheirPaths) {
    TestMachine machine;
    winsim::WriteFile("C:\\v\\a.dll", Image(true, false, Described({1, 0, 0, 0})));
    Block block = ReadBlock("C:\\v\\a.dll");
    ASSERT_TRUE(block.read);
    char* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.bytes.data(), "\\StringFileInfo\\040904b0\\FileDescription",
                               reinterpret_cast<LPVOID*>(&text), &length));
    EXPECT_STREQ(text, "Test module \xE9t\xE9");  // UTF-16 in the file, ANSI here
    EXPECT_EQ(length, 16u);
    // Keys are matched without regard to case; a string keeps its place.
    char* company = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.bytes.data(), "\\stringfileinfo\\040904B0\\companyname",
                               reinterpret_cast<LPVOID*>(&company), &length));
    EXPECT_STREQ(company, "Quorlet Software");
    EXPECT_STREQ(text, "Test module \xE9t\xE9");
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.bytes.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<LPVOID*>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);
    SetLastError(0);
    EXPECT_FALSE(VerQueryValueA(block.bytes.data(), "\\StringFileInfo\\040904b0\\Missing",
                                reinterpret_cast<LPVOID*>(&text), &length));
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
}

TEST(VersionInfoTest, AResourceWithoutFixedInfoGivesAnEmptyRoot) {
    TestMachine machine;
    pe::VersionResource version = Described({1, 0, 0, 0});
    version.fixedInfo = false;
    winsim::WriteFile("C:\\v\\a.dll", Image(true, false, version));
    Block block = ReadBlock("C:\\v\\a.dll");
    ASSERT_TRUE(block.read);
    void* info = nullptr;
    UINT length = 99;
    EXPECT_TRUE(VerQueryValueA(block.bytes.data(), "\\", &info, &length));
    EXPECT_EQ(length, 0u);
}

TEST(VersionInfoTest, TheLanguageOfTheUserIsPreferred) {
    TestMachine machine(winsim::Platform::NT4, 0x040C);
    pe::Options options;
    options.version = Described({2, 0, 0, 0});
    options.resourceLanguage = 0x040C;
    winsim::WriteFile("C:\\v\\fr.dll", pe::BuildImage(options));
    EXPECT_NE(GetFileVersionInfoSizeA("C:\\v\\fr.dll", nullptr), 0u);
}

// A block smaller than the resource takes what fits, and queries never
// read past it.
TEST(VersionInfoTest, AShortBlockIsNeverReadPast) {
    TestMachine machine;
    winsim::WriteFile("C:\\v\\a.dll", Image(true, false, Described({1, 0, 0, 0})));
    for (DWORD size : {8u, 40u, 80u, 100u, 200u}) {
        char* block = static_cast<char*>(std::malloc(size));
        ASSERT_TRUE(GetFileVersionInfoA("C:\\v\\a.dll", 0, size, block));
        void* value = nullptr;
        UINT length = 0;
        VerQueryValueA(block, "\\", &value, &length);
        VerQueryValueA(block, "\\StringFileInfo\\040904b0\\FileDescription", &value, &length);
        VerQueryValueA(block, "\\VarFileInfo\\Translation", &value, &length);
        std::free(block);
    }
}

// Hostile files: every byte of the DOS and PE headers and of the resource
// section changed in turn, and the file cut at every length. The calls may fail,
// but never read outside the file or the block (AddressSanitizer watches).
TEST(VersionInfoTest, DamagedImagesAreReadSafely) {
    TestMachine machine;
    const std::string good = Image(true, false, Described({1, 2, 3, 4}));
    winsim::WriteFile("C:\\v\\bad.dll", "");
    const std::string host = winsim::HostPath("C:\\v\\bad.dll");
    auto probe = [&host](const std::string& bytes) {
        std::ofstream(host, std::ios::binary | std::ios::trunc) << bytes;
        Block block = ReadBlock("C:\\v\\bad.dll");
        if (!block.read) return;
        void* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA(block.bytes.data(), "\\", &value, &length)) {
            ASSERT_LE(static_cast<char*>(value) + length, block.bytes.data() + block.bytes.size());
        }
        VerQueryValueA(block.bytes.data(), "\\StringFileInfo\\040904b0\\FileDescription", &value, &length);
        VerQueryValueA(block.bytes.data(), "\\VarFileInfo\\Translation", &value, &length);
    };
    // DOS header, PE headers and section table, then .rsrc (after .text).
    std::vector<std::size_t> positions;
    for (std::size_t at = 0; at < 0x40; ++at) positions.push_back(at);
    for (std::size_t at = 0x80; at < 0x200; ++at) positions.push_back(at);
    for (std::size_t at = 0x400; at < 0x600; ++at) positions.push_back(at);
    for (std::size_t at : positions) {
        for (unsigned char value : {0x00, 0xFF}) {
            std::string bad = good;
            bad[at] = static_cast<char>(value);
            probe(bad);
        }
    }
    for (std::size_t length = 0; length < good.size(); length += 7) probe(good.substr(0, length));
}

}  // namespace
