#include "install/dll_update.h"

#include <afxwin.h>

#include "app/install_app.h"
#include "install/file_lists.h"
#include "install/file_version.h"
#include "install/wininit_queue.h"
#include "ui/resource.h"
#include "util/path_compose.h"

namespace {

// Reports a failed copy to the temporary file and removes that file, which
// nothing would ever use.
BOOL CopyFailed(const char* source, const char* temp) {
    DWORD code = GetLastError();
    DeleteFileA(temp);
    SetLastError(code);
    CInstallApp::ReportError2(IDS_COPY_FAILED, source, temp, MB_ICONSTOP);
    return FALSE;
}

BOOL UpdateDll(InstallContext& context, WininitQueue& queue, const char* name) {
    char source[MAX_PATH];
    PathJoin(source, context.sourceDir, name);
    VersionTriple sourceVersion;
    if (!ReadDistributionVersion(source, &sourceVersion)) return FALSE;

    // A target that is missing or carries no version counts as 0.0.0.
    char target[MAX_PATH];
    PathJoin(target, context.systemDir, name);
    VersionTriple targetVersion = {{0, 0, 0}};
    int result = ReadFileVersion(target, &targetVersion);
    if (result == FILE_VERSION_NO_MEMORY) {
        AfxMessageBox(IDS_NO_MEMORY, MB_ICONSTOP);
        return FALSE;
    }
    if (result != FILE_VERSION_OK) targetVersion.parts[0] = targetVersion.parts[1] = targetVersion.parts[2] = 0;
    if (CompareVersions(sourceVersion, targetVersion) <= 0) return TRUE;

    context.restartNeeded = TRUE;
    char temp[MAX_PATH];
    if (GetTempFileNameA(context.systemDir, "temp", 0, temp) == 0) {
        // No temporary file, so no copy: the message names the folder.
        CInstallApp::ReportError2(IDS_COPY_FAILED, source, context.systemDir, MB_ICONSTOP);
        return FALSE;
    }
    if (!CopyFileA(source, temp, FALSE)) return CopyFailed(source, temp);

    if (context.isNT) {
        if (MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT)) return TRUE;
        DWORD code = GetLastError();
        DeleteFileA(temp);
        SetLastError(code);
        CInstallApp::ReportError(code == ERROR_ACCESS_DENIED ? IDS_DLL_ACCESS_DENIED : IDS_DLL_UPDATE_FAILED, target,
                                 MB_ICONSTOP);
        return FALSE;
    }
    if (QueueWininitReplacement(queue, target, temp)) return TRUE;
    // Not queued: the temporary copy would never be used.
    DWORD code = GetLastError();
    DeleteFileA(temp);
    SetLastError(code);
    return FALSE;
}

}  // namespace

BOOL UpdateSystemDlls(InstallContext& context, FileProgress& progress) {
    WininitQueue queue;
    InitWininitQueue(queue, context.windowsDir, CountNames(g_szSystemDlls));
    BOOL updated = TRUE;
    for (const char* name = g_szSystemDlls; *name != '\0' && updated; name = NextName(name)) {
        AnnounceFile(progress, name);
        updated = UpdateDll(context, queue, name);
    }
    FreeWininitQueue(queue);
    return updated;
}
