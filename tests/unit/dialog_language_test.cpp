// Each dialog in the language that Windows picks for the user: French,
// Italian, and English for a language none of the variants matches.
#include <gtest/gtest.h>

#include <string>

#include "dialog_test_app.h"
#include "ui/destination_dlg.h"
#include "ui/file_types_dlg.h"
#include "ui/progress_dlg.h"
#include "ui/restart_dlg.h"
#include "winsim/transcript.h"
#include "winsim/user.h"

namespace {

// The templates of all three languages have one size: the destination and
// progress dialogs (shown by their templates) stay at the top left, the
// restart and file types dialogs are centred on the 800 x 600 screen.
std::string OpenLine(WORD templateId, const char* language, const std::string& caption, const char* icons,
                     const char* rect) {
    return "dialog open id=" + std::to_string(templateId) + " language=" + language +
           " caption=" + winsim::Quote(caption) + " owner=none " + icons + " rect=" + rect;
}

TEST(DialogLanguageTest, EveryDialogShowsTheVariantOfTheUsersLanguage) {
    struct Case {
        LANGID user;
        const char* chosen;  // the variant of the three translated templates
        const char* destination;
        const char* restart;
        const char* fileTypes;
        const char* progress;
        const char* buttons;  // Next, Browse, Cancel of the destination dialog
    } cases[] = {
        {0x040C, "0x040C", "Installation de Quorlet", "Red\xE9marrer Windows", "Associations de types de fichiers",
         "Avancement", "&Suivant >|&Parcourir...|Annuler"},
        {0x0410, "0x0410", "Installazione di Quorlet", "Riavviare Windows", "Associazioni di tipi di file",
         "Avanzamento", "&Successivo >|&Sfoglia...|Annulla"},
        {0x0407, "0x0409", "Quorlet installation", "Restart Windows", "File type associations", "Progress",
         "&Next >|&Browse...|Cancel"},
    };
    for (const auto& c : cases) {
        DialogTestApp test(c.user);
        InitCommonControls();
        winsim::ExpectDialog(IDD_DESTINATION).Escape();
        winsim::ExpectDialog(IDD_RESTART).Escape();
        winsim::ExpectDialog(IDD_FILETYPES).Escape();
        winsim::ExpectDialog(IDD_PROGRESS);
        CDestinationDlg destination;
        destination.DoModal();
        CRestartDlg restart;
        restart.DoModal();
        CFileTypesDlg fileTypes;
        fileTypes.DoModal();
        CProgressDlg progress;
        ASSERT_TRUE(progress.Create());

        SCOPED_TRACE(c.chosen);
        EXPECT_EQ(winsim::TranscriptLines("dialog open"),
                  (std::vector<std::string>{
                      OpenLine(IDD_DESTINATION, c.chosen, c.destination, "bigicon=256 smallicon=256",
                               "222,175,579,425"),
                      OpenLine(IDD_RESTART, c.chosen, c.restart, "bigicon=none smallicon=none", "251,211,549,389"),
                      OpenLine(IDD_FILETYPES, c.chosen, c.fileTypes, "bigicon=none smallicon=none",
                               "97,225,703,376"),
                      // One template for all; the caption comes from the string table.
                      OpenLine(IDD_PROGRESS, "0x0409", c.progress, "bigicon=none smallicon=none", "261,247,540,354"),
                  }));
        std::string texts;
        for (const char* prefix : {"control dialog=257 id=1 ", "control dialog=257 id=1024 ", "control dialog=257 id=2 "}) {
            std::vector<std::string> line = winsim::TranscriptLines(prefix);
            ASSERT_EQ(line.size(), 1u);
            std::size_t start = line[0].find("text=\"") + 6;
            texts += (texts.empty() ? "" : "|") + line[0].substr(start, line[0].find('"', start) - start);
        }
        EXPECT_EQ(texts, c.buttons);
        // The icon group is filed under French only and shows in every language.
        for (const char* icon : {"control dialog=257 id=-1 class=Static text=\"#256\" states=enabled icon=256",
                                 "control dialog=260 id=-1 class=Static text=\"#256\" states=enabled icon=256"}) {
            EXPECT_EQ(winsim::TranscriptLines(icon).size(), 1u) << icon;
        }
    }
}

}  // namespace
