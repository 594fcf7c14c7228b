#include "install/file_phases.h"

#include "install/app_files.h"
#include "install/dll_update.h"
#include "install/file_progress.h"

BOOL RunFilePhases(InstallContext& context) {
    FileProgress progress;
    OpenFilePhases(progress);
    BOOL done = UpdateSystemDlls(context, progress) && CopyApplicationFiles(context, progress);
    // After a failure the dialog stayed on the screen behind the message;
    // the message has been answered and the run ends here.
    CloseFilePhases(progress);
    return done;
}
