#include "install/file_lists.h"

#include <windows.h>

const char g_szSystemDlls[] =
    "Mfc42.dll\0"
    "Msvcrt.dll\0"
    "Oleaut32.dll\0"
    "Olepro32.dll\0";

const char g_szAppFiles[] =
    "64asm.ini\0Ada.ini\0American.vtd\0Basic.ini\0Batfiles.ini\0C31.ini\0Corba.ini\0Cpp.ini\0"
    "Default.dll\0Default.ini\0Quorlet.exe\0Quorlet.ocx\0Fortran.dll\0Fortran.ini\0French.vtd\0"
    "Generic.dll\0Helpfr.cnt\0Helpfr.hlp\0Helpit.cnt\0Helpit.hlp\0Helpru.cnt\0Helpru.hlp\0"
    "Helpus.cnt\0Helpus.hlp\0Html.dll\0Html.ini\0Inifiles.dll\0Inifiles.ini\0Italian.vtd\0"
    "Java.ini\0Joyerr.tex\0Latex.dll\0Latex.ini\0Lisp.ini\0Matlab.ini\0Opl.ini\0Orderfr.doc\0"
    "Orderit.doc\0Orderru.doc\0Orderus.doc\0Pascal.ini\0Perl.ini\0Pov.ini\0Readmefr.doc\0"
    "Readmeit.doc\0Readmeru.doc\0Readmeus.doc\0Spell.dll\0Sql.ini\0Tipsfr.txt\0Tipsit.txt\0"
    "Tipsru.txt\0Tipsus.txt\0";

const char g_szEditorExe[] = "Quorlet.exe";
const char g_szUninstallerExe[] = "Remvex.exe";
const char g_szUninstallerName[] = "Remvex000.exe";

const char* NextName(const char* name) { return name + lstrlenA(name) + 1; }

int CountNames(const char* list) {
    int count = 0;
    for (const char* name = list; *name != '\0'; name = NextName(name)) ++count;
    return count;
}
