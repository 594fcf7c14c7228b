// The process entry point of Install.EXE, which links no C runtime: it
// builds the static objects, runs the framework, destroys them, and ends
// the process.
#include <windows.h>

#include "cwinapp.h"

extern "C" {

// The linker's list of static constructors: a count or -1, the functions,
// then 0.
typedef void (*StaticFunction)(void);
extern StaticFunction __CTOR_LIST__[];

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
    if (reinterpret_cast<LONG_PTR>(__CTOR_LIST__[0]) == -1) {
        while (__CTOR_LIST__[count + 1] != 0) ++count;
    } else {
        count = static_cast<int>(reinterpret_cast<LONG_PTR>(__CTOR_LIST__[0]));
    }
    // Last to first, as the toolchain's own start-up code does.
    for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

static void RunExitFunctions() {
    while (g_exitCount > 0) g_exitFunctions[--g_exitCount]();
}

void WINAPI WinMainCRTStartup(void) {
    RunStaticConstructors();
    int result = AfxWinMain(GetModuleHandleA(NULL), NULL, GetCommandLineA(), SW_SHOWDEFAULT);
    RunExitFunctions();
    ExitProcess(static_cast<UINT>(result));
}

}  // extern "C"
