// The application object: its InitInstance is the whole installation run.
#pragma once

#include <afxwin.h>

#include "app/install_context.h"

class CInstallApp : public CWinApp {
public:
    CInstallApp();
    virtual ~CInstallApp();

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Shows the message of a string-table id with `argument` for its first
    // %s and the system's text for the last error code for the last one.
    static void ReportError(UINT nID, LPCSTR argument, UINT nType);
    // The same with two arguments before the system text.
    static void ReportError2(UINT nID, LPCSTR first, LPCSTR second, UINT nType);

    DWORD oldErrorMode;  // error mode before the run, restored on exit

    DECLARE_MESSAGE_MAP()
};
