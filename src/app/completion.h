// The end of the run: the restart offer, the logoff, or the closing message.
#pragma once

#include "app/install_context.h"

void CompleteInstallation(InstallContext& context);

// On Windows NT: enables the shutdown privilege of the process and asks
// whether the user holds it. TRUE on Windows 95 and 98, and when the token
// cannot be opened.
BOOL MayShutDown(const InstallContext& context);
