// Dialog templates as the resource compiler writes them: DLGTEMPLATE and
// DLGTEMPLATEEX with their items, read from the bytes of an RT_DIALOG
// resource. The window manager builds dialogs from them; tests read them to
// check the resource script.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "../windows.h"

namespace winsim {

// A field that holds either a 16-bit ordinal or a text.
struct NameOrOrdinal {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::string text;  // in the machine's ANSI code page
    bool IsEmpty() const { return !isOrdinal && text.empty(); }
};

struct DialogItem {
    DWORD helpId = 0;  // DLGTEMPLATEEX only
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;  // 16 bits in a DLGTEMPLATE, 32 in a DLGTEMPLATEEX
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    std::vector<BYTE> creationData;

    // "Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox" for the
    // predefined atoms, else the class name.
    std::string ClassName() const;
};

struct DialogTemplate {
    bool extended = false;
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::string caption;
    // With DS_SETFONT.
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::string typeface;
    std::vector<DialogItem> items;
};

// False when the bytes do not hold a whole template; nothing is read past
// `size`.
bool ParseDialogTemplate(const unsigned char* data, std::size_t size, DialogTemplate* result);

}  // namespace winsim
