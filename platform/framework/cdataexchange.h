// Data exchange between a dialog's members and its controls.
#pragma once

#include <windows.h>

class CWnd;
class CString;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control's window, or NULL when the dialog has no such control.
    HWND PrepareCtrl(int nIDC);

    BOOL m_bSaveAndValidate;  // TRUE: controls into members
    CWnd* m_pDlgWnd;
};

// The control's window text and the string.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// A group of radio buttons and the index of the selected one. The group is
// the control nIDC and the controls after it up to the next one with
// WS_GROUP; only controls that answer WM_GETDLGCODE with DLGC_RADIOBUTTON
// count. Loading checks the button whose index is `value` and clears the
// others; saving gives -1, then the index of the checked button, if any.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// Attaches the control's window to `rControl`, the first time only.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
