// CWinApp: the application object and its life cycle. The framework starts
// with AfxWinMain: the application's InitInstance, then its message loop, or,
// when InitInstance returns FALSE, straight to ExitInstance.
#pragma once

#include <windows.h>

#include "afx_cmdtarget.h"
#include "cwnd.h"

#define ID_HELP 0xE146
#define AFX_IDS_APP_TITLE 0xE000

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR lpszAppName = 0);
    virtual ~CWinApp();

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();

    // The three-dimensional look of dialogs on systems before Windows 4.x;
    // Windows 95, 98 and NT 4 draw it themselves, so nothing is needed.
    BOOL Enable3dControlsStatic();

    // F1: the installer ships no help file, so there is nothing to show.
    void OnHelp();

    // An icon group of the application's resources; NULL when there is none.
    HICON LoadIcon(UINT nIDResource) const;

    HINSTANCE m_hInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCSTR m_pszAppName;  // the title of every message box
    CWnd* m_pMainWnd;

    DECLARE_MESSAGE_MAP()

private:
    friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);
    void SetTitleFromModule();

    LPCSTR m_pszGivenName;
    char m_szTitle[MAX_PATH];
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The first step of the start: gives the application object its instance,
// command line and show state, and its title. FALSE when there is no
// application object.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// The framework's start: runs the application object's life cycle and
// returns the process exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// Message boxes with the application title as caption and the main window
// (if it has one) as owner. The id form loads the text of the string table.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
