// The process entry point of Install.EXE, which links no C runtime: it
// builds the static objects, runs the framework, destroys them, and ends
// the process.
#include <windows.h>

#include "cwinapp.h"

extern "C" {

// The linker's list of static constructors: a count or -1, the functions,
// then 0. Named by the symbol that only the linker script defines: the
// C-level name is also defined by libgcc's start-up object, which would be
// linked in for it.
typedef void (*StaticFunction)(void);
extern StaticFunction g_ctorList[] __asm__("__CTOR_LIST__");

// Destructors of static objects, registered by the compiler through atexit.
static StaticFunction g_exitFunctions[32];
static int g_exitCount = 0;

int atexit(StaticFunction function) {
    if (g_exitCount == static_cast<int>(sizeof(g_exitFunctions) / sizeof(g_exitFunctions[0]))) return -1;
    g_exitFunctions[g_exitCount++] = function;
    return 0;
}

static void RunStaticConstructors() {
    int count = 0;
    if (reinterpret_cast<LONG_PTR>(g_ctorList[0]) == -1) {
        while (g_ctorList[count + 1] != 0) ++count;
    } else {
        count = static_cast<int>(reinterpret_cast<LONG_PTR>(g_ctorList[0]));
    }
    // Last to first, as the toolchain's own start-up code does.
    for (int i = count; i >= 1; --i) g_ctorList[i]();
}

static void RunExitFunctions() {
    while (g_exitCount > 0) g_exitFunctions[--g_exitCount]();
}

// What WinMain gets as its command line: the arguments after the program's
// own name (quoted or not) and the blanks that follow it.
static LPSTR CommandTail(LPSTR line) {
    if (*line == '"') {
        ++line;
        while (*line != '\0' && *line != '"') ++line;
        if (*line == '"') ++line;
    } else {
        while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

void WINAPI WinMainCRTStartup(void) {
    RunStaticConstructors();
    int result = AfxWinMain(GetModuleHandleA(NULL), NULL, CommandTail(GetCommandLineA()), SW_SHOWDEFAULT);
    RunExitFunctions();
    ExitProcess(static_cast<UINT>(result));
}

}  // extern "C"
