// The Start-menu group with a link per entry of the shortcut table, and a
// desktop link for the first entry.
#pragma once

#include "app/install_context.h"

// FALSE when the group folder could not be created (reported; the run
// ends). A missing shell-folder setting or a failed link is passed over.
BOOL CreateShortcuts(InstallContext& context);

// Creates the links of a shortcut table, "link=target,description\n" per
// entry, in `group`, and the desktop link of the first entry. `table` (of
// `length` characters and a terminator) is cut into its fields in place.
void CreateTableLinks(const InstallContext& context, const char* group, char* table, int length);
