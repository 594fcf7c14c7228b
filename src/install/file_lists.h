// The files the installer installs, named by fixed lists: each list is a
// block of zero-terminated names closed by one more zero byte, in the order
// the files are processed and announced.
#pragma once

// The shared system DLLs, brought up to date in the system directory.
extern const char g_szSystemDlls[];
// The application files, copied into the destination folder.
extern const char g_szAppFiles[];

extern const char g_szEditorExe[];       // the editor, whose version names the uninstaller copy
extern const char g_szUninstallerExe[];  // the uninstaller in the distribution folder
// The versioned uninstaller's name: the three characters at kVersionDigit
// and the two after it carry the editor's version.
extern const char g_szUninstallerName[14];
const int kVersionDigit = 6;

// The number of names in a list (0 for a list whose first byte is zero).
int CountNames(const char* list);
// The name after `name` in its list; a zero byte at the list's end.
const char* NextName(const char* name);
