#include "cwinapp.h"

#include <commctrl.h>

#include "cstring.h"

namespace {
CWinApp* g_app = 0;
}  // namespace

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(0),
      m_lpCmdLine(0),
      m_nCmdShow(SW_SHOWNORMAL),
      m_pszAppName(0),
      m_pMainWnd(0),
      m_pszGivenName(lpszAppName) {
    m_szTitle[0] = '\0';
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = 0;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

int CWinApp::Run() {
    MSG msg;
    while (GetMessageA(&msg, 0, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    ExitInstance();
    return static_cast<int>(msg.wParam);
}

BOOL CWinApp::Enable3dControlsStatic() { return TRUE; }

void CWinApp::OnHelp() {}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

void CWinApp::SetTitleFromModule() {
    // A title given to the constructor, else the string AFX_IDS_APP_TITLE,
    // else the module's file name without its extension.
    if (m_pszGivenName != 0) {
        lstrcpynA(m_szTitle, m_pszGivenName, MAX_PATH);
    } else if (LoadStringA(m_hInstance, AFX_IDS_APP_TITLE, m_szTitle, MAX_PATH) == 0) {
        char module[MAX_PATH];
        DWORD length = GetModuleFileNameA(m_hInstance, module, MAX_PATH);
        if (length >= MAX_PATH) length = MAX_PATH - 1;
        module[length] = '\0';
        int start = 0;
        int dot = -1;
        for (int i = 0; module[i] != '\0'; ++i) {
            if (module[i] == '\\' || module[i] == '/' || module[i] == ':') {
                start = i + 1;
                dot = -1;
            } else if (module[i] == '.') {
                dot = i;
            }
        }
        if (dot >= 0) module[dot] = '\0';
        lstrcpynA(m_szTitle, module + start, MAX_PATH);
    }
    m_pszAppName = m_szTitle;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : 0; }

HINSTANCE AfxGetInstanceHandle() { return g_app ? g_app->m_hInstance : 0; }

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    (void)hPrevInstance;
    CWinApp* app = AfxGetApp();
    if (app == 0) return FALSE;
    app->m_hInstance = hInstance;
    app->m_lpCmdLine = lpCmdLine;
    app->m_nCmdShow = nCmdShow;
    app->SetTitleFromModule();
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    if (!AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow)) return -1;
    CWinApp* app = AfxGetApp();
    // The common controls library registers the progress bar's class.
    InitCommonControls();

    int result;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != 0) app->m_pMainWnd->DestroyWindow();
        result = app->ExitInstance();
    } else {
        result = app->Run();
    }
    AfxDeleteTempWindows();
    return result;
}

namespace {

// The owner of a message box: the main window's last active popup, when the
// main window has a window at all.
HWND MessageBoxOwner() {
    CWnd* mainWnd = AfxGetMainWnd();
    HWND owner = mainWnd ? mainWnd->GetSafeHwnd() : 0;
    return owner ? GetLastActivePopup(owner) : 0;
}

}  // namespace

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
    (void)nIDHelp;
    CWinApp* app = AfxGetApp();
    return MessageBoxA(MessageBoxOwner(), lpszText, app ? app->m_pszAppName : 0, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}
