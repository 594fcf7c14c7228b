#include "app/install_run.h"

#include "app/completion.h"
#include "app/install_app.h"
#include "install/file_phases.h"
#include "register/registry_entries.h"
#include "register/search_path.h"
#include "register/shortcuts.h"
#include "ui/destination_dlg.h"

void RunInstallation(CInstallApp& app, InstallContext& context) {
    if (!RunStartupProbes(app, context)) return;
    // The dialog object lives until the run returns.
    CDestinationDlg destinationDlg;
    if (!ChooseDestination(destinationDlg, context)) return;
    if (!CreateDestinationFolder(context)) return;
    // Steps 10 to 12: the system DLLs, the application files and the
    // uninstaller, under the progress dialog.
    if (!RunFilePhases(context)) return;
    if (!CreateShortcuts(context)) return;
    if (!WriteRegistryEntries(context)) return;
    if (!UpdateSearchPath(context)) return;
    CompleteInstallation(context);
}
