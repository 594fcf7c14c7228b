// The file-types and restart dialogs driven by the simulated user: what
// each answer leaves in the member the run reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "dialog_test_app.h"
#include "ui/file_types_dlg.h"
#include "ui/restart_dlg.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

const char* const kInitialTypes =
    "1st asm asp bas c cpp def dpr for f77 frm h hpj idl inc ini jav java log m me out pas pov rc sql tex txt";

using Script = std::function<void(winsim::WindowScript&)>;

TEST(FileTypesDlgTest, TheInitialListHas28ExtensionsAndShowsInTheFocusedEditBox) {
    DialogTestApp test;
    winsim::ExpectDialog(IDD_FILETYPES).Press(IDOK);
    CFileTypesDlg dialog;
    EXPECT_EQ(dialog.m_strTypes.GetLength(), 104);
    std::string list = static_cast<LPCSTR>(dialog.m_strTypes);
    EXPECT_EQ(std::count(list.begin(), list.end(), ' '), 27);
    dialog.DoModal();
    EXPECT_EQ(winsim::TranscriptLines("control dialog=260 id=257"),
              std::vector<std::string>{std::string("control dialog=260 id=257 class=Edit text=\"") + kInitialTypes +
                                       "\" states=enabled,focus"});
    EXPECT_EQ(winsim::TranscriptLines("control dialog=260 id=2 "),
              std::vector<std::string>{"control dialog=260 id=2 class=Button text=\"&No\" states=enabled,default"});
}

TEST(FileTypesDlgTest, OnlyYesTakesTheListAsTheUserLeftIt) {
    struct Case {
        const char* name;
        Script script;
        int result;
        const char* types;
    } cases[] = {
        {"Yes untouched", [](winsim::WindowScript& s) { s.Press(IDOK); }, IDOK, kInitialTypes},
        {"emptied, Yes", [](winsim::WindowScript& s) { s.Type(IDC_TYPES, "").Press(IDOK); }, IDOK, ""},
        {"odd text, Yes", [](winsim::WindowScript& s) { s.Type(IDC_TYPES, "  C  .CPP   Txt ").Press(IDOK); },
         IDOK, "  C  .CPP   Txt "},
        {"edited, No", [](winsim::WindowScript& s) { s.Type(IDC_TYPES, "cpp h").Press(IDCANCEL); }, IDCANCEL,
         kInitialTypes},
        {"edited, Escape", [](winsim::WindowScript& s) { s.Type(IDC_TYPES, "cpp h").Escape(); }, IDCANCEL,
         kInitialTypes},
        {"edited, close box", [](winsim::WindowScript& s) { s.Type(IDC_TYPES, "cpp h").Close(); }, IDCANCEL,
         kInitialTypes},
        // Enter in the edit box chooses the default button, "&No".
        {"edited, Enter", [](winsim::WindowScript& s) { s.Type(IDC_TYPES, "cpp h").Enter(); }, IDCANCEL,
         kInitialTypes},
    };
    for (const auto& c : cases) {
        DialogTestApp test;
        c.script(winsim::ExpectDialog(IDD_FILETYPES));
        CFileTypesDlg dialog;
        EXPECT_EQ(dialog.DoModal(), c.result) << c.name;
        EXPECT_STREQ(dialog.m_strTypes, c.types) << c.name;
    }
}

TEST(RestartDlgTest, OpensCentredWithRestartNowSelectedAndFocusedAndEnterPressesOK) {
    // Checking "restart now" makes it its group's tab stop, so the dialog
    // manager puts the focus on it; Enter still chooses the default button.
    DialogTestApp test;
    winsim::ExpectDialog(IDD_RESTART).Enter();
    CRestartDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nRestartChoice, 0);
    std::vector<std::string> opened = winsim::TranscriptLines("dialog open id=259");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].substr(opened[0].find(" rect=")), " rect=251,211,549,389") << "centred on the 800 x 600 screen";
    std::vector<std::string> controls = winsim::TranscriptLines("control dialog=259");
    ASSERT_EQ(controls.size(), 5u);
    EXPECT_EQ(controls[2],
              "control dialog=259 id=1030 class=Button text=\"Yes, I want to restart now\" "
              "states=enabled,checked,focus");
    EXPECT_EQ(controls[3], "control dialog=259 id=1031 class=Button text=\"No, I will restart later\" states=enabled");
    EXPECT_EQ(controls[4], "control dialog=259 id=1 class=Button text=\"OK\" states=enabled,default");
}

TEST(RestartDlgTest, OnlyOKStoresTheChoice) {
    struct Case {
        const char* name;
        Script script;
        int result;
        int choice;
    } cases[] = {
        {"OK untouched", [](winsim::WindowScript& s) { s.Press(IDOK); }, IDOK, 0},
        {"Enter untouched", [](winsim::WindowScript& s) { s.Enter(); }, IDOK, 0},
        {"later, OK", [](winsim::WindowScript& s) { s.Click(IDC_RESTART_LATER).Press(IDOK); }, IDOK, 1},
        // The focus is on the radio button; Enter still means OK.
        {"later, Enter", [](winsim::WindowScript& s) { s.Click(IDC_RESTART_LATER).Enter(); }, IDOK, 1},
        {"later, now, OK",
         [](winsim::WindowScript& s) { s.Click(IDC_RESTART_LATER).Click(IDC_RESTART_NOW).Press(IDOK); }, IDOK, 0},
        {"later, Escape", [](winsim::WindowScript& s) { s.Click(IDC_RESTART_LATER).Escape(); }, IDCANCEL, 0},
        {"later, close box", [](winsim::WindowScript& s) { s.Click(IDC_RESTART_LATER).Close(); }, IDCANCEL, 0},
    };
    for (const auto& c : cases) {
        DialogTestApp test;
        c.script(winsim::ExpectDialog(IDD_RESTART));
        CRestartDlg dialog;
        EXPECT_EQ(dialog.DoModal(), c.result) << c.name;
        EXPECT_EQ(dialog.m_nRestartChoice, c.choice) << c.name;
    }
}

TEST(RestartDlgTest, TheRadioExchangeCountsOnlyTheGroupsRadioButtons) {
    // Loading selects the button of the member's index and clears the
    // other; an index that names no button clears both, and saving then
    // gives -1. A selected button takes the focus, else OK has it.
    struct Case {
        int initial;
        const char* nowState;
        const char* laterState;
        const char* okState;
        int saved;
    } cases[] = {
        {1, "enabled", "enabled,checked,focus", "enabled,default", 1},
        {2, "enabled", "enabled", "enabled,default,focus", -1},
        {-1, "enabled", "enabled", "enabled,default,focus", -1},
    };
    for (const auto& c : cases) {
        DialogTestApp test;
        winsim::ExpectDialog(IDD_RESTART).Press(IDOK);
        CRestartDlg dialog;
        dialog.m_nRestartChoice = c.initial;
        EXPECT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.m_nRestartChoice, c.saved) << c.initial;
        std::vector<std::string> controls = winsim::TranscriptLines("control dialog=259 id=103");
        ASSERT_EQ(controls.size(), 2u);
        EXPECT_EQ(controls[0].substr(controls[0].find("states=") + 7), c.nowState) << c.initial;
        EXPECT_EQ(controls[1].substr(controls[1].find("states=") + 7), c.laterState) << c.initial;
        std::vector<std::string> ok = winsim::TranscriptLines("control dialog=259 id=1 ");
        ASSERT_EQ(ok.size(), 1u);
        EXPECT_EQ(ok[0].substr(ok[0].find("states=") + 7), c.okState) << c.initial;
    }
}

}  // namespace
