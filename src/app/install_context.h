// The record that one installation run carries from phase to phase.
#pragma once

#include <windows.h>

struct InstallContext {
    char sourceDir[MAX_PATH];  // folder of the running installer, no trailing backslash
    char windowsDir[MAX_PATH];
    char systemDir[MAX_PATH];
    char productName[32];  // string IDS_PRODUCT
    int productNameLength;
    char destDir[MAX_PATH];  // the folder the user confirmed
    int destDirLength;
    BOOL isNT;
    BOOL restartNeeded;  // a replacement waits for the next start of Windows
    BOOL pathChanged;    // the NT "Path" value was extended
    char uninstallerPath[MAX_PATH];  // the versioned uninstaller copy
    int uninstallerPathLength;
};
