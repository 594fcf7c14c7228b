#include "app/install_app.h"
#include "app/install_run.h"
#include "ui/destination_dlg.h"
#include "util/path_compose.h"
#include "util/reg_path.h"

namespace {

const char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kProgramFilesValue[] = "ProgramFilesDir";
const char kProgramFilesFolder[] = "Program Files";

// The system's program-files folder, read into `destDir`. When it cannot be
// read (or holds no text), "Program Files" on the drive of the Windows
// directory stands in: the buffer never shows what nothing wrote.
void StartWithProgramFiles(InstallContext& context) {
    DWORD type = REG_NONE;
    DWORD size = MAX_PATH;
    LONG result = RegReadPath(HKEY_LOCAL_MACHINE, kCurrentVersionKey, kProgramFilesValue, &type, context.destDir,
                              &size);
    context.destDir[MAX_PATH - 1] = '\0';
    if (result == 0 && type == REG_SZ && context.destDir[0] != '\0') return;

    char drive[3] = "C:";
    if (context.windowsDir[0] != '\0' && context.windowsDir[1] == ':') drive[0] = context.windowsDir[0];
    PathStart(context.destDir, drive);
    PathAppend(context.destDir, "\\");
    PathAppend(context.destDir, kProgramFilesFolder);
}

}  // namespace

BOOL ChooseDestination(CDestinationDlg& dialog, InstallContext& context) {
    StartWithProgramFiles(context);
    PathAppend(context.destDir, "\\");
    PathAppend(context.destDir, context.productName);

    dialog.m_strIntro.Format(IDS_INTRO, context.productName, context.productName);
    dialog.m_strDestination = context.destDir;
    if (dialog.DoModal() == IDCANCEL) return FALSE;

    // Taken as the dialog holds it, cut to 259 characters.
    lstrcpynA(context.destDir, dialog.m_strDestination, MAX_PATH);
    context.destDirLength = lstrlenA(context.destDir);
    return TRUE;
}
