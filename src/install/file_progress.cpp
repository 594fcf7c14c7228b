#include "install/file_progress.h"

#include <afxwin.h>

#include "install/file_lists.h"
#include "ui/progress_dlg.h"
#include "ui/resource.h"

void OpenFilePhases(FileProgress& progress) {
    // Without its window the dialog can show nothing; the files are
    // installed all the same.
    progress.dialog = new CProgressDlg(0);
    if (progress.dialog != NULL && !progress.dialog->Create(NULL)) {
        delete progress.dialog;
        progress.dialog = NULL;
    }
    progress.fileCount = CountNames(g_szSystemDlls) + CountNames(g_szAppFiles);
    if (progress.dialog != NULL) progress.dialog->SetRange(0, 100);
    progress.filesBegun = 0;
}

void AnnounceFile(FileProgress& progress, const char* name) {
    const int position = progress.fileCount > 0 ? progress.filesBegun * 100 / progress.fileCount : 0;
    ++progress.filesBegun;
    if (progress.dialog == NULL) return;
    CString status;
    status.Format(IDS_INSTALLING, name);
    progress.dialog->SetStatus(status);
    progress.dialog->SetPos(position);
}

void CloseFilePhases(FileProgress& progress) {
    delete progress.dialog;
    progress.dialog = NULL;
}
