#include "app/install_app.h"
#include "app/install_run.h"
#include "ui/resource.h"
#include "util/file_utils.h"

BOOL CreateDestinationFolder(InstallContext& context) {
    if (CreateDirectoryTree(context.destDir) == 0 &&
        (CreateDirectoryA(context.destDir, NULL) || GetLastError() == ERROR_ALREADY_EXISTS)) {
        return TRUE;
    }
    // The last error is the code of the level that failed.
    CInstallApp::ReportError(IDS_CREATE_DIR, context.destDir, MB_ICONSTOP);
    return FALSE;
}
