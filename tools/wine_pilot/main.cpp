// wine_pilot: drives a Windows program's windows for the end-to-end tests
// and reads back what it installed.
//
// It reads one command per line on its standard input, fields separated by
// tabs, and answers each with one JSON object on one line of its standard
// output ({"ok":true,...} or {"ok":false,"error":"..."}). It owns no
// window: a shutdown or logoff that the program starts (ExitWindowsEx)
// ends every process with a window, and the pilot has to outlive it.
//
//   start PROGRAM [FOLDER]          start the program (FOLDER: its current folder);
//                                   again once it has ended
//   window TIMEOUT_MS [SETTLE_MS]   wait for its next new visible top-level window;
//                                   read it SETTLE_MS (300) after it appeared
//   describe HWND                   a window and its controls, again
//   windows                         its visible top-level windows now
//   click HWND ID                   click a button (push or radio)
//   settext HWND ID TEXT            replace the text of an edit box
//   key HWND enter|escape           press a key in the window that has the focus
//   close HWND                      the close box
//   select-folder HWND PATH         select a folder in a folder browser
//   suspend-at HWND ID MIN TIMEOUT  suspend the program once the number that
//                                   control ID shows reaches MIN
//   suspend / resume                suspend or resume the program's thread
//   gone HWND TIMEOUT_MS            wait until a window is destroyed or hidden
//   exit TIMEOUT_MS                 wait until the program has ended
//   idle TIMEOUT_MS                 wait until no wineboot process runs (a
//                                   shutdown or restart the program started)
//   links FOLDER / link FILE        shell links read through IShellLinkA
//   reg ROOT KEY VALUE              a registry value (ROOT: HKLM, HKCU, HKCR)
//   subkeys ROOT KEY                the subkeys of a key
//   errortext CODE                  the system's text for an error code
//   quit
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "actions.h"
#include "json.h"
#include "readers.h"
#include "windows_info.h"

namespace pilot {
namespace {

struct Program {
    PROCESS_INFORMATION info = {};
    bool started = false;
    bool suspended = false;
    std::set<HWND> seen;
};

Program g_program;

void Answer(const Json& json) {
    const std::string line = json.Text() + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

Json Ok() { return Json::Object().Field("ok", true); }

Json Failure(const std::string& error) { return Json::Object().Field("ok", false).Field("error", error); }

bool ReadLine(std::string* line) {
    static std::string pending;
    line->clear();
    for (;;) {
        const size_t end = pending.find('\n');
        if (end != std::string::npos) {
            *line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line->empty() && line->back() == '\r') line->pop_back();
            return true;
        }
        char buffer[4096];
        DWORD read = 0;
        if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &read, nullptr) || read == 0) {
            if (pending.empty()) return false;
            *line = pending;
            pending.clear();
            return true;
        }
        pending.append(buffer, read);
    }
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

HWND ToWindow(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(text.c_str(), nullptr, 10)));
}

DWORD Number(const std::string& text) { return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10)); }

bool ProgramRunning() {
    return g_program.started && WaitForSingleObject(g_program.info.hProcess, 0) == WAIT_TIMEOUT;
}

Json WindowList() {
    Json list = Json::Array();
    if (!g_program.started) return list;
    for (HWND window : VisibleTopLevelWindows(g_program.info.dwProcessId)) list.AddRaw(DescribeWindow(window));
    return list;
}

Json Start(const std::vector<std::string>& fields) {
    if (fields.size() < 2) return Failure("start PROGRAM [FOLDER]");
    if (ProgramRunning()) return Failure("the program started before still runs");
    if (g_program.started) {
        CloseHandle(g_program.info.hThread);
        CloseHandle(g_program.info.hProcess);
        g_program = Program();
    }
    std::wstring commandLine = L"\"" + Wide(fields[1]) + L"\"";
    const std::wstring folder = fields.size() > 2 ? Wide(fields[2]) : std::wstring();
    // The program gets no standard input or output of the pilot (those are
    // the command channel); its error output, where Wine writes its
    // traces, is the pilot's.
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
    HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    SetHandleInformation(errors, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = errors;
    const BOOL created = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        folder.empty() ? nullptr : folder.c_str(), &startup, &g_program.info);
    const DWORD error = GetLastError();
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (!created) return Failure("CreateProcess failed, error " + std::to_string(error));
    g_program.started = true;
    return Ok().Field("pid", static_cast<long long>(g_program.info.dwProcessId));
}

// The next window of the program that the pilot has not reported yet.
Json NextWindow(DWORD timeoutMs, DWORD settleMs) {
    if (!g_program.started) return Failure("no program");
    const DWORD begin = GetTickCount();
    for (;;) {
        for (HWND window : VisibleTopLevelWindows(g_program.info.dwProcessId)) {
            if (g_program.seen.count(window)) continue;
            g_program.seen.insert(window);
            // Let it finish its first painting before it is read.
            Sleep(settleMs);
            Json others = Json::Array();
            for (HWND other : VisibleTopLevelWindows(g_program.info.dwProcessId)) {
                if (other != window) others.AddRaw(DescribeWindow(other));
            }
            return Ok().FieldRaw("window", DescribeWindow(window)).FieldRaw("others", others);
        }
        if (!ProgramRunning()) {
            DWORD code = 0;
            GetExitCodeProcess(g_program.info.hProcess, &code);
            return Failure("the program ended").Field("exit_code", static_cast<long long>(code));
        }
        if (GetTickCount() - begin > timeoutMs) return Failure("no new window").FieldRaw("windows", WindowList());
        Sleep(20);
    }
}

// The number a control shows (" 42 %" gives 42), -1 when it shows none.
int NumberShown(HWND control) {
    wchar_t text[64] = {};
    InternalGetWindowText(control, text, 64);
    int at = 0;
    while (text[at] == L' ') ++at;
    if (text[at] < L'0' || text[at] > L'9') return -1;
    int number = 0;
    while (text[at] >= L'0' && text[at] <= L'9') number = number * 10 + (text[at++] - L'0');
    return number;
}

Json SuspendAt(HWND window, int id, int minimum, DWORD timeoutMs) {
    HWND control = GetDlgItem(window, id);
    if (control == nullptr) return Failure("no control " + std::to_string(id));
    const DWORD begin = GetTickCount();
    while (NumberShown(control) < minimum) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return Failure("the window closed");
        if (GetTickCount() - begin > timeoutMs) return Failure("the number did not reach " + std::to_string(minimum));
        // The program may pass the mark within milliseconds: no sleeping.
        Sleep(0);
    }
    SuspendThread(g_program.info.hThread);
    g_program.suspended = true;
    SetMessagesAllowed(false);
    return Ok().Field("shown", static_cast<long long>(NumberShown(control))).FieldRaw("window", DescribeWindow(window));
}

Json WaitGone(HWND window, DWORD timeoutMs) {
    const DWORD begin = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - begin > timeoutMs) return Failure("the window is still there");
        Sleep(20);
    }
    return Ok();
}

Json WaitExit(DWORD timeoutMs) {
    if (!g_program.started) return Failure("no program");
    if (WaitForSingleObject(g_program.info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return Failure("the program is still running").FieldRaw("windows", WindowList());
    }
    DWORD code = 0;
    GetExitCodeProcess(g_program.info.hProcess, &code);
    return Ok().Field("exit_code", static_cast<long long>(code));
}

bool WinebootRunning() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        found = lstrcmpiW(entry.szExeFile, L"wineboot.exe") == 0;
    }
    CloseHandle(snapshot);
    return found;
}

Json WaitIdle(DWORD timeoutMs) {
    const DWORD begin = GetTickCount();
    // wineboot is started by ExitWindowsEx just before the program ends:
    // give it a moment to appear.
    Sleep(500);
    while (WinebootRunning()) {
        if (GetTickCount() - begin > timeoutMs) return Failure("wineboot is still running");
        Sleep(50);
    }
    return Ok();
}

// The text FormatMessage gives for a code in the user's language, as the
// installer asks for it.
std::string ErrorText(DWORD code) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = text != nullptr ? Utf8FromAnsi(text) : std::string();
    if (text != nullptr) LocalFree(text);
    return result;
}

Json Run(const std::vector<std::string>& fields) {
    const std::string& command = fields[0];
    auto need = [&](size_t count) { return fields.size() >= count + 1; };
    std::string error;
    if (command == "start") return Start(fields);
    if (command == "window" && need(1)) return NextWindow(Number(fields[1]), need(2) ? Number(fields[2]) : 300);
    if (command == "describe" && need(1)) return Ok().FieldRaw("window", DescribeWindow(ToWindow(fields[1])));
    if (command == "windows") return Ok().FieldRaw("windows", WindowList());
    if (command == "click" && need(2)) {
        return Click(ToWindow(fields[1]), static_cast<int>(Number(fields[2])), &error) ? Ok() : Failure(error);
    }
    if (command == "settext" && need(3)) {
        return SetText(ToWindow(fields[1]), static_cast<int>(Number(fields[2])), Wide(fields[3]), &error)
                   ? Ok()
                   : Failure(error);
    }
    if (command == "key" && need(2)) {
        UINT key = fields[2] == "enter" ? VK_RETURN : fields[2] == "escape" ? VK_ESCAPE : 0;
        if (key == 0) return Failure("unknown key " + fields[2]);
        return PressKey(ToWindow(fields[1]), key, &error) ? Ok() : Failure(error);
    }
    if (command == "close" && need(1)) return CloseBox(ToWindow(fields[1]), &error) ? Ok() : Failure(error);
    if (command == "select-folder" && need(2)) {
        if (!g_program.started) return Failure("no program");
        return SelectFolder(ToWindow(fields[1]), g_program.info.dwProcessId, AnsiFromUtf8(fields[2]), &error)
                   ? Ok()
                   : Failure(error);
    }
    if (command == "suspend-at" && need(4)) {
        if (!g_program.started || g_program.suspended) return Failure("no running program");
        return SuspendAt(ToWindow(fields[1]), static_cast<int>(Number(fields[2])), static_cast<int>(Number(fields[3])),
                         Number(fields[4]));
    }
    if (command == "suspend") {
        if (!g_program.started || g_program.suspended) return Failure("no running program");
        SuspendThread(g_program.info.hThread);
        g_program.suspended = true;
        SetMessagesAllowed(false);
        return Ok();
    }
    if (command == "resume") {
        if (!g_program.suspended) return Failure("not suspended");
        ResumeThread(g_program.info.hThread);
        g_program.suspended = false;
        SetMessagesAllowed(true);
        return Ok();
    }
    if (command == "gone" && need(2)) return WaitGone(ToWindow(fields[1]), Number(fields[2]));
    if (command == "exit" && need(1)) return WaitExit(Number(fields[1]));
    if (command == "idle" && need(1)) return WaitIdle(Number(fields[1]));
    if (command == "links" && need(1)) return Ok().FieldRaw("links", ReadShellLinks(Wide(fields[1])));
    if (command == "link" && need(1)) return Ok().FieldRaw("link", ReadShellLink(Wide(fields[1])));
    if (command == "reg" && need(3)) {
        return Ok().FieldRaw("value", ReadRegistryValue(fields[1], Wide(fields[2]), Wide(fields[3])));
    }
    if (command == "subkeys" && need(2)) return Ok().FieldRaw("subkeys", ReadRegistrySubkeys(fields[1], Wide(fields[2])));
    if (command == "errortext" && need(1)) return Ok().Field("text", ErrorText(Number(fields[1])));
    return Failure("unknown command or missing fields: " + command);
}

}  // namespace
}  // namespace pilot

int main() {
    // No system message box may ever wait for a click here.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    std::string line;
    while (pilot::ReadLine(&line)) {
        if (line.empty()) continue;
        const std::vector<std::string> fields = pilot::SplitTabs(line);
        if (fields[0] == "quit") {
            pilot::Answer(pilot::Ok());
            break;
        }
        pilot::Answer(pilot::Run(fields));
    }
    if (pilot::g_program.suspended) ResumeThread(pilot::g_program.info.hThread);
    return 0;
}
