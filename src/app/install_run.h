// The installation run, in its fixed order of steps, and the steps of it
// that belong to the driver.
#pragma once

#include "app/install_context.h"

class CInstallApp;
class CDestinationDlg;

// The whole run: start-up probes, destination, folder creation, then the
// phases, each only if every earlier one went through.
void RunInstallation(CInstallApp& app, InstallContext& context);

// Steps 1 to 7: refuses Windows NT before 4.0 (FALSE, after the message),
// saves the error mode, reads the product name and the installer's,
// Windows and system folders, and sets the placeholder main window.
BOOL RunStartupProbes(CInstallApp& app, InstallContext& context);

// Step 8: proposes "Program Files\<product>" in the destination dialog and
// takes back the folder the user confirms into destDir. FALSE when the user
// cancels; nothing is shown then.
BOOL ChooseDestination(CDestinationDlg& dialog, InstallContext& context);

// Step 9: creates the destination folder with every missing level; an
// existing folder is fine. FALSE after the failure message.
BOOL CreateDestinationFolder(InstallContext& context);
