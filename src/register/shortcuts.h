// The Start-menu group with a link per entry of the shortcut table, and a
// desktop link for the first entry.
#pragma once

#include "app/install_context.h"

// FALSE when the group folder could not be created (reported; the run
// ends). A missing shell-folder setting or a failed link is passed over.
BOOL CreateShortcuts(InstallContext& context);
