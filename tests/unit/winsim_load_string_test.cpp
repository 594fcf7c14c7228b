// LoadStringA: cutting to the caller's buffer, and the choice among the
// languages a string block is filed in.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "installer_strings.h"
#include "test_machine.h"
#include "winsim/resources.h"

extern const unsigned char g_installRes[];
extern const std::size_t g_installResSize;

namespace {

// A .res image of string blocks, built entry by entry.
class ResImage {
public:
    ResImage() { AddEntry(0, 0, 0, {}); }  // the empty entry every .res file opens with

    // Block 1 (ids 0 to 15) in `language`, with `text` as string 3.
    void AddStringBlock(LANGID language, const std::u16string& text) {
        std::vector<unsigned char> data;
        for (int index = 0; index < 16; ++index) {
            std::u16string s = index == 3 ? text : u"";
            PutWord(&data, static_cast<WORD>(s.size()));
            for (char16_t c : s) PutWord(&data, c);
        }
        AddEntry(6, 1, language, data);
    }

    const std::vector<unsigned char>& bytes() const { return bytes_; }

private:
    static void PutWord(std::vector<unsigned char>* out, WORD value) {
        out->push_back(static_cast<unsigned char>(value & 0xFF));
        out->push_back(static_cast<unsigned char>(value >> 8));
    }
    static void PutDword(std::vector<unsigned char>* out, DWORD value) {
        PutWord(out, static_cast<WORD>(value & 0xFFFF));
        PutWord(out, static_cast<WORD>(value >> 16));
    }

    void AddEntry(WORD type, WORD name, LANGID language, const std::vector<unsigned char>& data) {
        PutDword(&bytes_, static_cast<DWORD>(data.size()));
        PutDword(&bytes_, 32);  // header size
        PutWord(&bytes_, 0xFFFF);
        PutWord(&bytes_, type);
        PutWord(&bytes_, 0xFFFF);
        PutWord(&bytes_, name);
        PutDword(&bytes_, 0);  // data version
        PutWord(&bytes_, 0x1030);  // memory flags
        PutWord(&bytes_, language);
        PutDword(&bytes_, 0);  // version
        PutDword(&bytes_, 0);  // characteristics
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }

    std::vector<unsigned char> bytes_;
};

// Puts the installer's own resources back for the tests that follow.
struct InstallerResourcesBack {
    ~InstallerResourcesBack() { winsim::SetModuleResources(g_installRes, g_installResSize); }
};

std::u16string Name(LANGID language) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", language);
    return std::u16string(hex, hex + 4);
}

TEST(LoadStringTest, TheBlockOfTheBestMatchingLanguage) {
    struct Case {
        std::vector<LANGID> filed;  // in filing order
        LANGID userLanguage;
        LANGID chosen;
    } cases[] = {
        {{0x0407, 0x0409, 0x040C}, 0x040C, 0x040C},  // the user's language itself
        {{0x0409, 0x0809}, 0x0809, 0x0809},
        {{0x040C, 0x0C0C}, 0x0C0C, 0x0C0C},          // exact before the primary language's default
        {{0x0409, 0x040C}, 0x0C0C, 0x040C},          // then the primary language with SUBLANG_DEFAULT
        {{0x0000, 0x040C}, 0x040C, 0x040C},          // the user's language before neutral
        {{0x0000, 0x0409}, 0x0410, 0x0000},          // then neutral
        {{0x0407, 0x0409}, 0x0410, 0x0409},          // then English (United States)
        {{0x0407, 0x0416}, 0x0410, 0x0407},          // then the first one filed
    };
    InstallerResourcesBack restore;
    for (const auto& c : cases) {
        TestMachine machine(winsim::Platform::NT4, c.userLanguage);
        ResImage image;
        for (LANGID language : c.filed) image.AddStringBlock(language, Name(language));
        ASSERT_TRUE(winsim::SetModuleResources(image.bytes().data(), image.bytes().size()));
        char buffer[16];
        EXPECT_EQ(LoadStringA(GetModuleHandleA(NULL), 3, buffer, sizeof buffer), 4);
        std::u16string chosen = Name(c.chosen);
        EXPECT_EQ(std::string(buffer), std::string(chosen.begin(), chosen.end()))
            << "user language " << std::hex << c.userLanguage;
    }
}

TEST(LoadStringTest, TextIsCutToTheBufferLessItsTerminator) {
    struct Case {
        LANGID userLanguage;
        UINT id;
        int bufferMax;
        const char* text;
    } cases[] = {
        {0x0409, IDS_DONE, 13, "Installation"},
        {0x0409, IDS_DONE, 2, "I"},
        {0x0409, IDS_DONE, 1, ""},
        {0x0409, IDS_PRODUCT, 14, "Quorlet V4.06"},
        {0x0409, IDS_PRODUCT, 32, "Quorlet V4.06"},
        {0x040C, IDS_NO_MEMORY, 3, "M\xE9"},  // counted in bytes of the ANSI text
    };
    for (const auto& c : cases) {
        TestMachine machine(winsim::Platform::NT4, c.userLanguage);
        std::unique_ptr<char[]> buffer(new char[c.bufferMax]);  // exactly bufferMax bytes
        EXPECT_EQ(LoadStringA(GetModuleHandleA(NULL), c.id, buffer.get(), c.bufferMax),
                  static_cast<int>(std::strlen(c.text)));
        EXPECT_STREQ(buffer.get(), c.text) << c.id << " / " << c.bufferMax;
    }
}

TEST(LoadStringTest, ABufferOfNoSizeIsRefused) {
    TestMachine machine;
    char buffer[4] = "abc";
    EXPECT_EQ(LoadStringA(GetModuleHandleA(NULL), IDS_DONE, buffer, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_STREQ(buffer, "abc");
}

}  // namespace
