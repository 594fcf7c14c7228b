// The resources of the shipped Install.EXE, read from the file: exactly the
// installer's resources in their languages, the string table, the dialog
// templates, the icon group and the version block, checked against the
// descriptions written out in the test headers (not against install.rc).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "installer_dialogs.h"
#include "installer_strings.h"
#include "shipped_image.h"
#include "test_machine.h"
#include "winsim/pe_image.h"
#include "winsim/resources.h"
#include "winsim/version_block.h"

namespace {

using namespace installer_dialogs;

const WORD kTypeIcon = 3;
const WORD kTypeDialog = 5;
const WORD kTypeString = 6;
const WORD kTypeGroupIcon = 14;
const WORD kTypeVersion = 16;
const WORD kNeutral = 0;
const WORD kTableLanguages[] = {kEnglishUs, kFrenchFrance, kItalianItaly};

class ShippedResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string& image = ShippedImage();
        ASSERT_FALSE(image.empty());
        ASSERT_TRUE(winsim::ListPeResources(image, &resources_)) << "unreadable resource section";
    }

    // The resource of a type and numeric name filed under exactly this
    // language, or null.
    const winsim::PeResourceEntry* Find(WORD type, WORD name, WORD language) const {
        for (const winsim::PeResourceEntry& r : resources_) {
            if (!r.type.isName && r.type.id == type && !r.name.isName && r.name.id == name && r.language == language) {
                return &r;
            }
        }
        return nullptr;
    }

    const unsigned char* Bytes(const winsim::PeResourceEntry& r) const {
        return reinterpret_cast<const unsigned char*>(ShippedImage().data()) + r.data.offset;
    }

    // The sixteen strings of a string-table block, in the ANSI code page;
    // false when the block does not hold them whole.
    bool Strings(const winsim::PeResourceEntry& block, std::vector<std::string>* strings) const {
        const unsigned char* data = Bytes(block);
        std::size_t at = 0;
        strings->clear();
        for (int i = 0; i < 16; ++i) {
            if (block.data.size - at < 2) return false;
            const std::size_t length = data[at] | data[at + 1] << 8;
            at += 2;
            if ((block.data.size - at) / 2 < length) return false;
            std::vector<WCHAR> text(length);
            for (std::size_t c = 0; c < length; ++c) text[c] = static_cast<WCHAR>(data[at + 2 * c] | data[at + 2 * c + 1] << 8);
            strings->push_back(winsim::ToAnsi(text.data(), length));
            at += 2 * length;
        }
        return true;
    }

    std::vector<winsim::PeResourceEntry> resources_;
};

TEST_F(ShippedResourcesTest, ExactlyTheInstallersResourcesInTheirLanguages) {
    typedef std::tuple<WORD, WORD, WORD> Key;  // type, name, language
    std::set<Key> expected = {{kTypeIcon, 1, kFrenchFrance},      {kTypeIcon, 2, kFrenchFrance},
                              {kTypeGroupIcon, IDR_MAINFRAME, kFrenchFrance}, {kTypeDialog, IDD_PROGRESS, kEnglishUs},
                              {kTypeString, 1, kNeutral},           {kTypeVersion, 1, kEnglishUs}};
    for (WORD language : kTableLanguages) {
        for (WORD dialog : {IDD_DESTINATION, IDD_RESTART, IDD_FILETYPES}) expected.insert(Key(kTypeDialog, dialog, language));
        // Strings are filed sixteen to a block: ids 128 to 143 in block 9,
        // 144 and 145 in block 10.
        expected.insert(Key(kTypeString, 9, language));
        expected.insert(Key(kTypeString, 10, language));
    }
    std::set<Key> found;
    for (const winsim::PeResourceEntry& r : resources_) {
        EXPECT_FALSE(r.type.isName || r.name.isName) << "a resource filed by name";
        EXPECT_TRUE(found.insert(Key(r.type.id, r.name.id, r.language)).second) << "twice: " << r.type.id << "/" << r.name.id;
    }
    for (const Key& k : expected) {
        EXPECT_TRUE(found.count(k)) << "missing: type " << std::get<0>(k) << " name " << std::get<1>(k) << " language "
                                    << std::hex << std::get<2>(k);
    }
    for (const Key& k : found) {
        EXPECT_TRUE(expected.count(k)) << "not one of the installer's: type " << std::get<0>(k) << " name "
                                       << std::get<1>(k) << " language " << std::hex << std::get<2>(k);
    }
}

TEST_F(ShippedResourcesTest, TheStringTableInEveryLanguage) {
    TestMachine machine;  // code page 1252 for the accented letters
    std::vector<std::string> strings;
    const winsim::PeResourceEntry* product = Find(kTypeString, 1, kNeutral);
    ASSERT_NE(product, nullptr);
    ASSERT_TRUE(Strings(*product, &strings));
    for (UINT id = 0; id < 16; ++id) EXPECT_EQ(strings[id], id == IDS_PRODUCT ? kProduct : "") << "id " << id;

    const Language languages[] = {kEnglish, kFrench, kItalian};
    for (int l = 0; l < 3; ++l) {
        for (WORD block : {9, 10}) {
            const winsim::PeResourceEntry* table = Find(kTypeString, block, kTableLanguages[l]);
            ASSERT_NE(table, nullptr) << "block " << block << " language " << std::hex << kTableLanguages[l];
            ASSERT_TRUE(Strings(*table, &strings));
            for (UINT i = 0; i < 16; ++i) {
                const UINT id = (block - 1) * 16 + i;
                const std::string expected = id <= IDS_DONE ? Expected(id, languages[l]) : "";
                EXPECT_EQ(strings[i], expected) << "id " << id << " language " << std::hex << kTableLanguages[l];
            }
        }
    }
}

TEST_F(ShippedResourcesTest, TheDialogTemplatesInTheirLanguages) {
    TestMachine machine;  // code page 1252 for the accented letters
    for (const ExpectedTemplate& expected : ExpectedTemplates()) {
        SCOPED_TRACE("template " + std::to_string(expected.id) + " language " + std::to_string(expected.language));
        const winsim::PeResourceEntry* found = Find(kTypeDialog, expected.id, expected.language);
        ASSERT_NE(found, nullptr);
        winsim::DialogTemplate parsed;
        ASSERT_TRUE(winsim::ParseDialogTemplate(Bytes(*found), found->data.size, &parsed));
        ExpectTemplate(parsed, expected);
    }
}

TEST_F(ShippedResourcesTest, TheIconGroupFiledUnderFrenchWithItsTwoImages) {
    const winsim::PeResourceEntry* group = Find(kTypeGroupIcon, IDR_MAINFRAME, kFrenchFrance);
    ASSERT_NE(group, nullptr);
    ExpectIconGroup(Bytes(*group), group->data.size);
    for (const ExpectedIconImage& expected : kIconImages) {
        SCOPED_TRACE("image " + std::to_string(expected.id));
        const winsim::PeResourceEntry* image = Find(kTypeIcon, expected.id, kFrenchFrance);
        ASSERT_NE(image, nullptr);
        ExpectIconImage(Bytes(*image), image->data.size, expected);
    }
}

// The text value of a version node (7-bit texts only).
std::string Text(const unsigned char* block, const winsim::VersionNode& node) {
    std::string text;
    for (DWORD at = node.value; at + 2 <= node.value + node.valueBytes; at += 2) {
        const WORD c = winsim::VersionWord(block, at);
        if (c == 0) break;
        text += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return text;
}

DWORD Dword(const unsigned char* block, DWORD at) {
    return winsim::VersionWord(block, at) | static_cast<DWORD>(winsim::VersionWord(block, at + 2)) << 16;
}

TEST_F(ShippedResourcesTest, TheVersionBlock) {
    const winsim::PeResourceEntry* version = Find(kTypeVersion, 1, kEnglishUs);
    ASSERT_NE(version, nullptr);
    const unsigned char* block = Bytes(*version);
    winsim::VersionNode root;
    ASSERT_TRUE(winsim::ReadVersionNode(block, 0, static_cast<DWORD>(version->data.size), &root));
    EXPECT_EQ(root.key, u"VS_VERSION_INFO");

    // The fixed part, VS_FIXEDFILEINFO.
    ASSERT_EQ(root.valueBytes, 52u);
    const DWORD fixed[13] = {0xFEEF04BD, 0x00010000,  // signature, structure version
                             0x00010000, 0x00000001,  // file version 1.0.0.1
                             0x00010000, 0x00000001,  // product version 1.0.0.1
                             0x3F,       0,           // flags mask, flags
                             4,          1,  0,       // VOS__WINDOWS32, VFT_APP, subtype
                             0,          0};          // file date
    for (int i = 0; i < 13; ++i) EXPECT_EQ(Dword(block, root.value + 4 * i), fixed[i]) << "fixed part, field " << i;

    const std::vector<winsim::VersionNode> parts = winsim::VersionChildren(block, root);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].key, u"StringFileInfo");
    EXPECT_EQ(parts[1].key, u"VarFileInfo");

    const std::vector<winsim::VersionNode> tables = winsim::VersionChildren(block, parts[0]);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].key, u"040904b0");
    const std::vector<winsim::VersionNode> strings = winsim::VersionChildren(block, tables[0]);
    const std::u16string keys[8] = {u"CompanyName",    u"FileDescription",  u"FileVersion", u"InternalName",
                                    u"LegalCopyright", u"OriginalFilename", u"ProductName", u"ProductVersion"};
    const char* values[8] = {"", "Quorlet Install Application", "1, 0, 0, 1", "Install", nullptr,
                             "Install.EXE", "Quorlet Install Application", "1, 0, 0, 1"};
    ASSERT_EQ(strings.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE("string #" + std::to_string(i + 1));
        EXPECT_EQ(strings[i].key, keys[i]);
        EXPECT_TRUE(strings[i].text);
        const std::string value = Text(block, strings[i]);
        if (values[i] != nullptr) {
            EXPECT_EQ(value, values[i]);
        } else {
            // The legal notice: one line, dated 1999.
            EXPECT_NE(value.find("1999"), std::string::npos) << value;
            EXPECT_EQ(value.find_first_of("\r\n"), std::string::npos) << value;
        }
    }

    const std::vector<winsim::VersionNode> vars = winsim::VersionChildren(block, parts[1]);
    ASSERT_EQ(vars.size(), 1u);
    EXPECT_EQ(vars[0].key, u"Translation");
    ASSERT_EQ(vars[0].valueBytes, 4u);
    EXPECT_EQ(winsim::VersionWord(block, vars[0].value), 0x0409);
    EXPECT_EQ(winsim::VersionWord(block, vars[0].value + 2), 0x04B0);
}

}  // namespace
