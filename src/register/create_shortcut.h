// One shell link, written through the shell's link object.
#pragma once

#include <windows.h>

// S_OK when the link file was saved, else the first failing HRESULT. COM is
// initialised on entry and uninitialised on every exit.
HRESULT CreateShortcut(LPCSTR targetPath, LPCSTR linkPath, LPCSTR description, LPCSTR arguments,
                       LPCSTR iconPath, int iconIndex);
