// The compiled resource script: every dialog template in every language,
// field by field, and the icon group.
#include <gtest/gtest.h>

#include <string>

#include "installer_dialogs.h"
#include "test_machine.h"
#include "winsim/resources.h"

namespace {

using namespace installer_dialogs;

TEST(ResourceSetTest, EveryTemplateInEveryLanguageMatchesItsDescription) {
    TestMachine machine;
    for (const ExpectedTemplate& expected : ExpectedTemplates()) {
        SCOPED_TRACE("template " + std::to_string(expected.id) + " language " + std::to_string(expected.language));
        winsim::FoundResource found = winsim::FindModuleResource(RT_DIALOG, MAKEINTRESOURCEA(expected.id), expected.language);
        ASSERT_TRUE(found.found);
        ASSERT_EQ(found.language, expected.language);
        winsim::DialogTemplate parsed;
        ASSERT_TRUE(winsim::ParseDialogTemplate(found.data, found.size, &parsed));
        ExpectTemplate(parsed, expected);
    }
}

TEST(ResourceSetTest, TheProgressTemplateIsFiledUnderEnglishOnly) {
    TestMachine machine;
    for (LANGID language : {kFrenchFrance, kItalianItaly, static_cast<LANGID>(0x0407), static_cast<LANGID>(0)}) {
        winsim::FoundResource found = winsim::FindModuleResource(RT_DIALOG, MAKEINTRESOURCEA(IDD_PROGRESS), language);
        ASSERT_TRUE(found.found);
        EXPECT_EQ(found.language, kEnglishUs) << language;
    }
}

TEST(ResourceSetTest, TheIconGroupIsFrenchWithTwoSixteenColourImages) {
    TestMachine machine;
    winsim::FoundResource group = winsim::FindModuleResource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME), kEnglishUs);
    ASSERT_TRUE(group.found);
    EXPECT_EQ(group.language, kFrenchFrance);
    ExpectIconGroup(group.data, group.size);
    for (const ExpectedIconImage& expected : kIconImages) {
        SCOPED_TRACE("image " + std::to_string(expected.id));
        winsim::FoundResource image = winsim::FindModuleResource(RT_ICON, MAKEINTRESOURCEA(expected.id), kEnglishUs);
        ASSERT_TRUE(image.found);
        EXPECT_EQ(image.language, kFrenchFrance);
        ExpectIconImage(image.data, image.size, expected);
    }
}

}  // namespace
