#include "actions.h"

#include <commctrl.h>
#include <shlobj.h>

#include "windows_info.h"

namespace pilot {
namespace {

std::string LastError(const char* what) { return std::string(what) + " failed, error " + std::to_string(GetLastError()); }

}  // namespace

bool Click(HWND dialog, int id, std::string* error) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        *error = "no control " + std::to_string(id);
        return false;
    }
    // Posted, not sent: the click may open a modal window (the folder
    // browser) whose loop runs inside the program's handler.
    if (!PostMessageW(control, BM_CLICK, 0, 0)) {
        *error = LastError("PostMessage(BM_CLICK)");
        return false;
    }
    return true;
}

bool SetText(HWND dialog, int id, const std::wstring& text, std::string* error) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        *error = "no control " + std::to_string(id);
        return false;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 3000,
                             &result) ||
        !result) {
        *error = LastError("WM_SETTEXT");
        return false;
    }
    return true;
}

bool PressKey(HWND dialog, UINT virtualKey, std::string* error) {
    HWND focus = FocusOf(dialog);
    if (focus == nullptr) focus = dialog;
    const UINT scan = MapVirtualKeyW(virtualKey, 0);
    if (!PostMessageW(focus, WM_KEYDOWN, virtualKey, 1 | (scan << 16)) ||
        !PostMessageW(focus, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u)) {
        *error = LastError("PostMessage(WM_KEYDOWN)");
        return false;
    }
    return true;
}

bool CloseBox(HWND window, std::string* error) {
    if (!PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0)) {
        *error = LastError("PostMessage(WM_SYSCOMMAND)");
        return false;
    }
    return true;
}

namespace {

// The text of the tree view's selected item, read through a TVITEMA and a
// text buffer placed in the browser's process.
std::string SelectedItemText(HWND tree, HANDLE process) {
    const LRESULT item = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    if (item == 0) return std::string();
    const SIZE_T textSize = MAX_PATH;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(TVITEMA) + textSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (remote == nullptr) return std::string();
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = reinterpret_cast<HTREEITEM>(item);
    query.pszText = remote + sizeof(TVITEMA);
    query.cchTextMax = static_cast<int>(textSize);
    char text[MAX_PATH + 1] = {};
    if (WriteProcessMemory(process, remote, &query, sizeof(query), nullptr) &&
        SendMessageW(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote))) {
        ReadProcessMemory(process, remote + sizeof(TVITEMA), text, textSize, nullptr);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

}  // namespace

bool SelectFolder(HWND browser, DWORD processId, const std::string& ansiPath, std::string* error) {
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) {
        *error = LastError("OpenProcess");
        return false;
    }
    HWND tree = FindWindowExW(browser, nullptr, L"SysTreeView32", nullptr);
    // The folder's own name, as the tree shows it (a drive's root shows
    // otherwise, and is not compared).
    std::string name = ansiPath.substr(ansiPath.find_last_of('\\') + 1);
    const SIZE_T size = ansiPath.size() + 1;
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool ok = remote != nullptr && WriteProcessMemory(process, remote, ansiPath.c_str(), size, nullptr);
    if (!ok) *error = LastError("VirtualAllocEx/WriteProcessMemory");
    // The browser fills its tree after it appears: until then a selection
    // may stop half way. Asked again until the tree shows the folder.
    for (int attempt = 0; ok && attempt < 25; ++attempt) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote),
                                 SMTO_ABORTIFHUNG, 5000, &result)) {
            *error = LastError("BFFM_SETSELECTIONA");
            ok = false;
            break;
        }
        if (name.empty() || tree == nullptr || lstrcmpiA(SelectedItemText(tree, process).c_str(), name.c_str()) == 0) {
            break;
        }
        if (attempt == 24) {
            *error = "the folder browser did not select " + ansiPath + " (selected: " +
                     SelectedItemText(tree, process) + ")";
            ok = false;
        }
        Sleep(200);
    }
    if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return ok;
}

}  // namespace pilot
