#include "dialog_test_app.h"

DialogTestApp::DialogTestApp(LANGID language, winsim::Platform platform)
    : machine_(platform, language), app_(new CInstallApp) {
    AfxWinInit(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWNORMAL);
    app_->m_pMainWnd = new CEditView;
}

DialogTestApp::~DialogTestApp() {
    delete app_->m_pMainWnd;
    app_->m_pMainWnd = nullptr;
    app_.reset();
}
