// CDialog: a dialog built from a template of the application's resources,
// modal (DoModal) or modeless (Create), run by the system's dialog manager
// with the framework's dialog procedure, which routes every message through
// the object's message map. A dialog whose template is hidden and whose
// OnInitDialog neither shows nor moves it is centred after OnInitDialog,
// over its owner or the screen.
#pragma once

#include <windows.h>

#include "cwnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    CDialog();  // modeless: the template is given to Create
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual ~CDialog();

    // Shows the dialog and returns when it ends: the value given to
    // EndDialog, or -1 when the window could not be created.
    virtual int DoModal();
    // Creates the modeless window; FALSE when it could not be created.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    void EndDialog(int nResult);

    // Runs the data exchange: controls into members when bSaveAndValidate,
    // members into controls otherwise.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Loads the members into the controls; TRUE lets the dialog manager put
    // the focus on the first control with a tab stop.
    virtual BOOL OnInitDialog();

    CWnd* m_pParentWnd;  // the parent given, or the owner a derived class chose
    UINT m_nIDTemplate;

protected:
    // Whether the dialog's template leaves its place to the framework: it
    // is not shown at once (no WS_VISIBLE) and not placed by the system
    // (no DS_CENTER or DS_CENTERMOUSE).
    virtual BOOL CheckAutoCenter();
    virtual void OnOK();      // data exchange in, then the dialog ends with IDOK
    virtual void OnCancel();  // the dialog ends with IDCANCEL
    virtual void DoDataExchange(CDataExchange* pDX);

private:
    friend INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // After OnInitDialog: centres a dialog that was hidden before it and
    // still is, did not move during it, is unowned or has a disabled owner,
    // and whose template allows it (CheckAutoCenter). Rectangle and style
    // are the window's before OnInitDialog.
    void PostInitDialog(const RECT& rectBefore, DWORD dwStyleBefore);

    DECLARE_MESSAGE_MAP()
};

// The framework's dialog procedure: WM_INITDIALOG brings the object (its
// lParam) and links it to the window; every later message goes to it.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
