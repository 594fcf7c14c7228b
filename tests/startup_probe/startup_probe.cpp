// A Windows program built like Install.EXE (the same start-up code, heap
// operators and framework, no C runtime) whose global application object
// writes down when it is built, run and destroyed, in the file named on its
// command line. run_under_wine.sh runs it and compares the record with
// expected.log.
#include <windows.h>

#include "cwinapp.h"

namespace {

// Appends a line to the record.
void Note(const char* path, const char* text) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFilePointer(file, 0, NULL, FILE_END);
    DWORD written;
    WriteFile(file, text, lstrlenA(text), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
}

// The record's path, from the command line: the framework has no object yet
// when the constructors run, so they read it themselves.
const char* RecordPath() {
    static char path[MAX_PATH];
    LPSTR line = GetCommandLineA();
    // Past the program's name, quoted or not, and the blanks after it.
    if (*line == '"') {
        ++line;
        while (*line != '\0' && *line != '"') ++line;
        if (*line == '"') ++line;
    } else {
        while (*line != '\0' && *line != ' ') ++line;
    }
    while (*line == ' ') ++line;
    lstrcpynA(path, line, MAX_PATH);
    return path;
}

int* volatile g_block = 0;

class CProbeApp : public CWinApp {
public:
    CProbeApp() { Note(RecordPath(), "application object constructed"); }
    ~CProbeApp() { Note(RecordPath(), "application object destroyed"); }

    BOOL InitInstance() {
        Note(RecordPath(), AfxGetApp() == this ? "run: the framework has the object" : "run: no object");
        Note(RecordPath(), lstrcmpA(m_lpCmdLine, RecordPath()) == 0 ? "command line: the arguments only"
                                                                     : "command line: with the program name");
        // The framework has loaded the common controls, which register the
        // progress bar's class for every program.
        WNDCLASSA progress;
        Note(RecordPath(), GetClassInfoA(NULL, "msctls_progress32", &progress) ? "progress bar class: registered"
                                                                               : "progress bar class: missing");
        // The heap operators; the block escapes so that the calls stay.
        int* numbers = new int[4096];
        g_block = numbers;
        Note(RecordPath(), g_block != 0 ? "new: a block" : "new: nothing");
        delete[] numbers;
        // 64-bit division, by the program's own helpers.
        volatile LONGLONG n = -7000000000000LL;
        volatile LONGLONG d = 3;
        Note(RecordPath(), n / d == -2333333333333LL && n % d == -1 ? "division: right" : "division: wrong");
        return FALSE;
    }

    int ExitInstance() {
        Note(RecordPath(), "exit instance");
        return 7;
    }
};

// A second static object, built after the first and destroyed before it.
class CSecond {
public:
    CSecond() { Note(RecordPath(), "second object constructed"); }
    ~CSecond() { Note(RecordPath(), "second object destroyed"); }
};

}  // namespace

CProbeApp theProbe;
CSecond theSecond;
