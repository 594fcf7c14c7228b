#include "app/install_app.h"

#include "app/install_run.h"

CInstallApp::CInstallApp() : oldErrorMode(0) {}

CInstallApp::~CInstallApp() {}

BEGIN_MESSAGE_MAP(CInstallApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL CInstallApp::InitInstance() {
    InstallContext context = {};
    RunInstallation(*this, context);
    return FALSE;
}

int CInstallApp::ExitInstance() {
    if (m_pMainWnd != 0) {
        delete m_pMainWnd;
        m_pMainWnd = 0;
    }
    SetErrorMode(oldErrorMode);
    return CWinApp::ExitInstance();
}
