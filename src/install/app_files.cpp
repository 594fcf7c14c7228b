#include "install/app_files.h"

#include <afxwin.h>

#include "app/install_app.h"
#include "install/file_lists.h"
#include "install/file_version.h"
#include "ui/resource.h"
#include "util/path_compose.h"

namespace {

BOOL CopyOneFile(const char* source, const char* target) {
    if (CopyFileA(source, target, FALSE)) return TRUE;
    CInstallApp::ReportError2(IDS_COPY_FAILED, source, target, MB_ICONSTOP);
    return FALSE;
}

// The uninstaller, named by the editor's version, into the Windows
// directory; its path becomes uninstallerPath.
BOOL CopyUninstaller(InstallContext& context) {
    char editor[MAX_PATH];
    PathJoin(editor, context.sourceDir, g_szEditorExe);
    VersionTriple version;
    if (!ReadDistributionVersion(editor, &version)) return FALSE;
    char uninstaller[MAX_PATH];
    PathJoin(uninstaller, context.sourceDir, g_szUninstallerExe);
    char name[sizeof(g_szUninstallerName)];
    VersionedUninstallerName(version.parts, name);
    PathJoin(context.uninstallerPath, context.windowsDir, name);
    context.uninstallerPathLength = lstrlenA(context.uninstallerPath);
    return CopyOneFile(uninstaller, context.uninstallerPath);
}

}  // namespace

char VersionCharacter(WORD part) {
    if (part <= 9) return static_cast<char>('0' + part);
    if (part <= 35) return static_cast<char>('A' + (part - 10));
    return 'Z';
}

void VersionedUninstallerName(const WORD parts[3], char* name) {
    lstrcpynA(name, g_szUninstallerName, sizeof(g_szUninstallerName));
    for (int i = 0; i < 3; ++i) name[kVersionDigit + i] = VersionCharacter(parts[i]);
}

BOOL CopyApplicationFiles(InstallContext& context, FileProgress& progress) {
    for (const char* name = g_szAppFiles; *name != '\0'; name = NextName(name)) {
        AnnounceFile(progress, name);
        char source[MAX_PATH];
        char target[MAX_PATH];
        PathJoin(source, context.sourceDir, name);
        PathJoin(target, context.destDir, name);
        if (!CopyOneFile(source, target)) return FALSE;
    }
    if (!CopyUninstaller(context)) return FALSE;
    CloseFilePhases(progress);
    return TRUE;
}
