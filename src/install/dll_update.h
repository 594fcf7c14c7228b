// The system DLL update: each DLL of g_szSystemDlls whose copy in the
// distribution folder carries a newer version (first three parts) than the
// one in the system directory is copied beside it under a temporary name,
// and the replacement is queued for the next start of Windows.
#pragma once

#include "app/install_context.h"
#include "install/file_progress.h"

// FALSE after the failure message (the run then ends).
BOOL UpdateSystemDlls(InstallContext& context, FileProgress& progress);
