#include "app/install_run.h"

#include "app/install_app.h"
#include "ui/destination_dlg.h"

void RunInstallation(CInstallApp& app, InstallContext& context) {
    if (!RunStartupProbes(app, context)) return;
    // The dialog object lives until the run returns.
    CDestinationDlg destinationDlg;
    if (!ChooseDestination(destinationDlg, context)) return;
    if (!CreateDestinationFolder(context)) return;
}
