// The installer's dialog templates and icon group as the user must get
// them, written out here independently of the resource script, with the
// check of one parsed template against its description. The tests of the
// compiled resources and of the shipped Install.EXE share them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/resource.h"
#include "winsim/dialog_template.h"

namespace installer_dialogs {

const LANGID kEnglishUs = 0x0409;
const LANGID kFrenchFrance = 0x040C;
const LANGID kItalianItaly = 0x0410;

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP | kChild;
const DWORD kDefPush = BS_DEFPUSHBUTTON | WS_TABSTOP | kChild;
const DWORD kGroupBox = BS_GROUPBOX | kChild;
const DWORD kFirstRadio = BS_AUTORADIOBUTTON | WS_GROUP | kChild;
const DWORD kRadio = BS_AUTORADIOBUTTON | kChild;
const DWORD kText = SS_LEFT | WS_GROUP | kChild;
const DWORD kIcon = SS_ICON | kChild;
const DWORD kEdit = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | kChild;
const DWORD kBar = WS_BORDER | kChild;

const char* const kIconText = nullptr;  // the text is the ordinal of IDR_MAINFRAME

struct ExpectedControl {
    int id;
    const char* className;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    const char* text;
};

struct ExpectedTemplate {
    WORD id;
    LANGID language;
    bool extended;
    DWORD style;
    DWORD exStyle;
    short cx, cy;
    std::string caption;
    std::vector<ExpectedControl> controls;
};

struct Texts {
    LANGID language;
    const char* destinationCaption;
    const char* next;
    const char* browse;
    const char* cancel;
    const char* destinationFolder;
    const char* restartCaption;
    const char* restartText;
    const char* restartGroup;
    const char* restartNow;
    const char* restartLater;
    const char* typesCaption;
    const char* typesText;
    short typesTextWidth;
    const char* typesGroup;
    const char* typesLabel;
    short typesLabelX, typesLabelWidth;
    const char* yes;
    const char* no;
};

// Texts in code page 1252, as the program reads them.
const Texts kTexts[] = {
    {kEnglishUs, "Quorlet installation", "&Next >", "&Browse...", "Cancel", "Destination folder", "Restart Windows",
     "Restarting Windows is required to terminate the installation. Do you want to restart now ?", "Restart",
     "Yes, I want to restart now", "No, I will restart later", "File type associations",
     "Would you like to register the following file types as text files ?\n\nThis will afford opening them by "
     "double-clicking on their name in the file Explorer.",
     273, "Types", "&Types:", 18, 22, "&Yes", "&No"},
    {kFrenchFrance, "Installation de Quorlet", "&Suivant >", "&Parcourir...", "Annuler", "R\xE9pertoire de destination",
     "Red\xE9marrer Windows",
     "Il faut red\xE9marrer Windows pour terminer l''installation. Voulez vous red\xE9marrer maintenant ?",
     "Red\xE9marrer", "Oui, je veux red\xE9marrer maintenant", "Non, je red\xE9marrerais plus tard",
     "Associations de types de fichiers",
     "Souhaitez vous enregistrer les fichiers suivants comme fichiers texte ?\n\nCela permettra de les ouvrir en "
     "double-cliquant sur leur nom dans l'Explorateur de fichiers.",
     290, "Types", "&Types:", 18, 22, "&Oui", "&Non"},
    {kItalianItaly, "Installazione di Quorlet", "&Successivo >", "&Sfoglia...", "Annulla", "Cartella destinazione",
     "Riavviare Windows", "Bisogna riavviare Windows per finire l'installazione.\nVuole riavviare adesso ?",
     "Riavviare", "Si, voglio riavviare adesso", "No, riavviero pi\xF9 tardi", "Associazioni di tipi di file",
     "Desidera registrare i file segguenti come file testo ?\n\nQuesto permettera di aprirli faccendo doppio clic "
     "sul loro nome nell file Explorer.",
     253, "Tipi", "&Tipi:", 25, 14, "&Si", "&No"},
};

inline std::vector<ExpectedTemplate> ExpectedTemplates() {
    std::vector<ExpectedTemplate> templates;
    for (const Texts& t : kTexts) {
        templates.push_back({IDD_DESTINATION, t.language, true,
                         WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                         WS_EX_APPWINDOW, 238, 154, t.destinationCaption,
                         {
                             {IDOK, "Button", kDefPush, 0, 114, 132, 50, 14, t.next},
                             {IDC_BROWSE, "Button", kPush, 0, 170, 104, 50, 14, t.browse},
                             {IDCANCEL, "Button", kPush, 0, 176, 132, 50, 14, t.cancel},
                             {-1, "Static", kIcon, 0, 12, 11, 20, 20, kIconText},
                             {IDC_INTRO, "Static", kText, WS_EX_TRANSPARENT, 44, 11, 182, 76, ""},
                             {-1, "Button", kGroupBox, 0, 12, 94, 214, 30, t.destinationFolder},
                             {IDC_DESTINATION, "Static", kText, 0, 20, 106, 136, 8, ""},
                         }});
        templates.push_back({IDD_RESTART, t.language, false, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                         0, 199, 110, t.restartCaption,
                         {
                             {-1, "Static", kText, 0, 11, 11, 176, 16, t.restartText},
                             {-1, "Button", kGroupBox, 0, 12, 36, 176, 46, t.restartGroup},
                             {IDC_RESTART_NOW, "Button", kFirstRadio, 0, 17, 48, 133, 12, t.restartNow},
                             {IDC_RESTART_LATER, "Button", kRadio, 0, 17, 62, 129, 12, t.restartLater},
                             {IDOK, "Button", kDefPush, 0, 75, 89, 50, 14, "OK"},
                         }});
        templates.push_back({IDD_FILETYPES, t.language, false, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                         0, 404, 93, t.typesCaption,
                         {
                             {-1, "Static", kText, 0, 42, 11, t.typesTextWidth, 25, t.typesText},
                             {-1, "Button", kGroupBox, 0, 7, 46, 389, 39, t.typesGroup},
                             {-1, "Static", kText, 0, t.typesLabelX, 63, t.typesLabelWidth, 8, t.typesLabel},
                             {IDC_TYPES, "Edit", kEdit, 0, 44, 61, 342, 12, ""},
                             {IDOK, "Button", kPush, 0, 342, 11, 50, 14, t.yes},
                             {IDCANCEL, "Button", kDefPush, 0, 342, 29, 50, 14, t.no},
                             {-1, "Static", kIcon, 0, 12, 11, 20, 20, kIconText},
                         }});
    }
    templates.push_back({IDD_PROGRESS, kEnglishUs, false, WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, 0,
                     186, 66, "",
                     {
                         {IDC_PROGRESS, "msctls_progress32", kBar, 0, 15, 34, 154, 13, "Progress1"},
                         {IDC_PERCENT, "Static", kText, 0, 85, 23, 18, 8, " 0 %"},
                         {IDC_STATUS, "Static", kText, 0, 13, 7, 158, 11, ""},
                     }});
    return templates;
}

// The two images of the icon group IDR_MAINFRAME: 16 colours, 4 bits per
// pixel, one plane.
struct ExpectedIconImage {
    int size;   // width and height in pixels
    int bytes;  // of the image resource
    WORD id;    // of the image resource
};
const ExpectedIconImage kIconImages[] = {{32, 744, 1}, {16, 296, 2}};

// Checks the group directory: an icon group with the two images, in order.
inline void ExpectIconGroup(const unsigned char* d, std::size_t size) {
    ASSERT_EQ(size, 6u + 2 * 14u);
    EXPECT_EQ(d[0] | d[1] << 8, 0);  // reserved
    EXPECT_EQ(d[2] | d[3] << 8, 1);  // icons
    ASSERT_EQ(d[4] | d[5] << 8, 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("image #" + std::to_string(i + 1));
        const unsigned char* e = d + 6 + 14 * i;
        EXPECT_EQ(e[0], kIconImages[i].size);
        EXPECT_EQ(e[1], kIconImages[i].size);
        EXPECT_EQ(e[2], 16);             // colours
        EXPECT_EQ(e[4] | e[5] << 8, 1);  // planes
        EXPECT_EQ(e[6] | e[7] << 8, 4);  // bits per pixel
        EXPECT_EQ(e[8] | e[9] << 8 | e[10] << 16 | e[11] << 24, kIconImages[i].bytes);
        EXPECT_EQ(e[12] | e[13] << 8, kIconImages[i].id);
    }
}

// Checks one image: its size, and a bitmap header of the image's width
// whose height counts the colour and the mask rows.
inline void ExpectIconImage(const unsigned char* data, std::size_t size, const ExpectedIconImage& expected) {
    ASSERT_EQ(static_cast<int>(size), expected.bytes);
    EXPECT_EQ(data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24, 40);  // BITMAPINFOHEADER
    EXPECT_EQ(data[4] | data[5] << 8, expected.size);
    EXPECT_EQ(data[8] | data[9] << 8, 2 * expected.size);
    EXPECT_EQ(data[12] | data[13] << 8, 1);  // planes
    EXPECT_EQ(data[14] | data[15] << 8, 4);  // bits per pixel
}

// Checks a parsed template, field by field, against its description.
inline void ExpectTemplate(const winsim::DialogTemplate& parsed, const ExpectedTemplate& expected) {
    EXPECT_EQ(parsed.extended, expected.extended);
    EXPECT_EQ(parsed.style, expected.style);
    EXPECT_EQ(parsed.exStyle, expected.exStyle);
    EXPECT_EQ(parsed.helpId, 0u);
    EXPECT_EQ(parsed.x, 0);
    EXPECT_EQ(parsed.y, 0);
    EXPECT_EQ(parsed.cx, expected.cx);
    EXPECT_EQ(parsed.cy, expected.cy);
    EXPECT_TRUE(parsed.menu.IsEmpty());
    EXPECT_TRUE(parsed.windowClass.IsEmpty());
    EXPECT_EQ(parsed.caption, expected.caption);
    EXPECT_EQ(parsed.pointSize, 8);
    EXPECT_EQ(parsed.typeface, "MS Sans Serif");
    if (expected.extended) {
        EXPECT_EQ(parsed.weight, 0);   // FW_DONTCARE
        EXPECT_EQ(parsed.italic, 0);
        EXPECT_EQ(parsed.charset, 1);  // DEFAULT_CHARSET
    }
    ASSERT_EQ(parsed.items.size(), expected.controls.size());
    for (std::size_t i = 0; i < expected.controls.size(); ++i) {
        const ExpectedControl& want = expected.controls[i];
        const winsim::DialogItem& item = parsed.items[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        // -1 is 16 bits in a DLGTEMPLATE, 32 in a DLGTEMPLATEEX.
        DWORD id = want.id == -1 ? (expected.extended ? 0xFFFFFFFFu : 0xFFFFu) : static_cast<DWORD>(want.id);
        EXPECT_EQ(item.id, id);
        // Predefined classes by their atom, others by name (the resource
        // compiler may change the case of a name).
        EXPECT_EQ(item.windowClass.isOrdinal, std::string(want.className) != "msctls_progress32");
        EXPECT_STRCASEEQ(item.ClassName().c_str(), want.className);
        EXPECT_EQ(item.style, want.style);
        EXPECT_EQ(item.exStyle, want.exStyle);
        EXPECT_EQ(item.helpId, 0u);
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        if (want.text == kIconText) {
            EXPECT_TRUE(item.title.isOrdinal);
            EXPECT_EQ(item.title.ordinal, IDR_MAINFRAME);
        } else {
            EXPECT_FALSE(item.title.isOrdinal);
            EXPECT_EQ(item.title.text, want.text);
        }
        EXPECT_TRUE(item.creationData.empty());
    }
}

}  // namespace installer_dialogs
