#include "app/install_app.h"
#include "app/install_run.h"
#include "ui/resource.h"

BOOL RunStartupProbes(CInstallApp& app, InstallContext& context) {
    app.Enable3dControlsStatic();

    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof(version);
    version.dwPlatformId = 0;
    version.dwMajorVersion = 0;
    GetVersionExA(&version);
    context.isNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    if (context.isNT && version.dwMajorVersion < 4) {
        AfxMessageBox(IDS_NEED_WIN32, MB_ICONSTOP);
        return FALSE;
    }

    app.oldErrorMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);

    LoadStringA(app.m_hInstance, IDS_PRODUCT, context.productName, sizeof(context.productName));
    context.productNameLength = lstrlenA(context.productName);

    // The installer's folder: its full path cut at the last backslash.
    DWORD length = GetModuleFileNameA(app.m_hInstance, context.sourceDir, MAX_PATH);
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    context.sourceDir[length] = '\0';
    int lastBackslash = -1;
    for (int i = 0; context.sourceDir[i] != '\0'; ++i) {
        if (context.sourceDir[i] == '\\') lastBackslash = i;
    }
    if (lastBackslash >= 0) context.sourceDir[lastBackslash] = '\0';

    GetWindowsDirectoryA(context.windowsDir, MAX_PATH);
    GetSystemDirectoryA(context.systemDir, MAX_PATH);

    // A main window that never gets a window: every dialog and message box
    // of the run is then an unowned top-level window.
    app.m_pMainWnd = new CEditView;
    return TRUE;
}
