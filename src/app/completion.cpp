#include "app/completion.h"

#include "app/install_app.h"
#include "ui/resource.h"
#include "ui/restart_dlg.h"

namespace {

// TOKEN_ALL_ACCESS as Windows NT 4 defines it: the standard rights and the
// eight token rights.
const DWORD kTokenAllAccess = 0xF00FF;

}  // namespace

BOOL MayShutDown(const InstallContext& context) {
    BOOL mayShutdown = TRUE;
    if (!context.isNT) return mayShutdown;

    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), kTokenAllAccess, &token)) return mayShutdown;

    LUID shutdown = {0, 0};
    LookupPrivilegeValueA("", "SeShutdownPrivilege", &shutdown);

    TOKEN_PRIVILEGES enable;
    enable.PrivilegeCount = 1;
    enable.Privileges[0].Luid = shutdown;
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous;
    DWORD previousLength = 0;
    AdjustTokenPrivileges(token, FALSE, &enable, sizeof(previous), &previous, &previousLength);

    PRIVILEGE_SET check;
    check.PrivilegeCount = 1;
    check.Control = PRIVILEGE_SET_ALL_NECESSARY;
    check.Privilege[0].Luid = shutdown;
    check.Privilege[0].Attributes = SE_PRIVILEGE_ENABLED;
    PrivilegeCheck(token, &check, &mayShutdown);

    CloseHandle(token);
    return mayShutdown;
}

void CompleteInstallation(InstallContext& context) {
    const BOOL mayShutdown = MayShutDown(context);
    if (context.restartNeeded) {
        if (!mayShutdown) {
            AfxMessageBox(IDS_FILES_BUSY, MB_ICONINFORMATION);
            return;
        }
        CRestartDlg dialog(NULL);
        // Only OK with the first button restarts: Escape or the close box
        // is no consent to lose the user's unsaved work.
        if (dialog.DoModal() == IDOK && dialog.m_nRestartChoice == 0) ExitWindowsEx(EWX_REBOOT, 0);
        return;
    }
    if (context.pathChanged) {
        AfxMessageBox(IDS_LOGOFF, MB_ICONINFORMATION);
        ExitWindowsEx(EWX_LOGOFF, 0);
        return;
    }
    AfxMessageBox(IDS_DONE, MB_ICONINFORMATION);
}
