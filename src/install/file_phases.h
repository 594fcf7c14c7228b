// The file phases of the run, in their order: the progress dialog opened
// and the files counted, the system DLL update, the application files and
// the versioned uninstaller, the progress dialog closed.
#pragma once

#include "app/install_context.h"

// FALSE after a failure message: the run then ends, and the progress
// dialog, left showing behind the message, goes with it.
BOOL RunFilePhases(InstallContext& context);
