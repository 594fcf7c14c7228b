// The application files and the versioned uninstaller: every file of
// g_szAppFiles is copied from the distribution folder into the destination
// folder, then the uninstaller into the Windows directory under a name that
// carries the editor's version, and the progress dialog goes.
#pragma once

#include "app/install_context.h"
#include "install/file_progress.h"

// FALSE after the failure message (the run then ends, the progress dialog
// still showing).
BOOL CopyApplicationFiles(InstallContext& context, FileProgress& progress);

// The character that stands for one version part in the uninstaller's
// name: "0" to "9" for 0 to 9, "A" to "Z" for 10 to 35, "Z" beyond, so
// that the name never holds a character a file name cannot hold.
char VersionCharacter(WORD part);

// The versioned uninstaller name ("Remvex406.exe" for 4.0.6) into a buffer
// of at least sizeof(g_szUninstallerName) bytes.
void VersionedUninstallerName(const WORD parts[3], char* name);
