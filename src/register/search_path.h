// The destination folder joins the command search path: the system "Path"
// value on Windows NT, the PATH line of C:\Autoexec.bat on Windows 95/98.
#pragma once

#include "app/install_context.h"

// FALSE when a failure was reported and the run must end.
BOOL UpdateSearchPath(InstallContext& context);

BOOL UpdateNtPath(InstallContext& context);
BOOL UpdateAutoexec(InstallContext& context);
