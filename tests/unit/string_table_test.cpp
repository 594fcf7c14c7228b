// The installer's string table as LoadStringA gives it on systems of each
// language.
#include <gtest/gtest.h>

#include "installer_strings.h"
#include "test_machine.h"

namespace {

struct LanguageCase {
    LANGID userLanguage;
    Language shown;
};

// The three tables, and languages that match one only by their primary
// language or not at all.
const LanguageCase kLanguages[] = {
    {0x0409, kEnglish},  // English (United States)
    {0x040C, kFrench},   // French (France)
    {0x0410, kItalian},  // Italian (Italy)
    {0x0407, kEnglish},  // German: no table of its own
    {0x0809, kEnglish},  // English (United Kingdom)
    {0x0C0C, kFrench},   // French (Canada)
    {0x0810, kItalian},  // Italian (Switzerland)
};

std::string Load(UINT id) {
    char buffer[1024];
    int length = LoadStringA(GetModuleHandleA(NULL), id, buffer, sizeof(buffer));
    EXPECT_EQ(length, lstrlenA(buffer)) << "id " << id;
    return std::string(buffer, length > 0 ? length : 0);
}

TEST(StringTableTest, EveryStringInTheLanguageTheSystemChooses) {
    for (const auto& language : kLanguages) {
        TestMachine machine(winsim::Platform::NT4, language.userLanguage);
        EXPECT_EQ(Load(IDS_PRODUCT), kProduct) << "language " << std::hex << language.userLanguage;
        for (const auto& s : kStrings) {
            EXPECT_EQ(Load(s.id), Ansi(s.text[language.shown]))
                << "id " << s.id << " language " << std::hex << language.userLanguage;
        }
    }
}

TEST(StringTableTest, AccentedLettersAreTheBytesOfCodePage1252) {
    TestMachine french(winsim::Platform::NT4, 0x040C);
    EXPECT_EQ(Load(IDS_NO_MEMORY), "M\xE9moire insuffisante ! V\xE9rifiez la taille du fichier swap !");
    EXPECT_EQ(Load(IDS_KEY_ACCESS), "Acc\xE8s \xE0 la cl\xE9 HKEY_LOCAL_MACHINE\\%s impossible : %s");
    winsim::settings().language = 0x0410;
    EXPECT_EQ(Load(IDS_CREATE_FILE), "\xC8 impossibile creare il file %s : %s !");
    EXPECT_NE(Load(IDS_FILES_BUSY).find(" Le\xEF dovra "), std::string::npos);
}

TEST(StringTableTest, IdsWithoutAStringLoadNothing) {
    TestMachine machine;
    char buffer[16] = "unchanged";
    for (UINT id : {0u, 2u, 127u, 146u, 200u, 0xFFFFu}) {
        EXPECT_EQ(LoadStringA(GetModuleHandleA(NULL), id, buffer, sizeof(buffer)), 0) << "id " << id;
        EXPECT_STREQ(buffer, "") << "id " << id;
    }
}

}  // namespace
