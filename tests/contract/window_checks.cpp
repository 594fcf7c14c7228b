// Window calls of the framework and the progress dialog: window texts,
// EnableWindow's answer (the state before), parents, the icon from the
// resources, and draining the queue with PeekMessageA.
#include "contract.h"  // <windows.h> before <commctrl.h>

#include <commctrl.h>
#include <string.h>

#include "resource.h"

namespace contract {
namespace {

const UINT kPosted = WM_USER + 101;
int g_postedSeen = 0;

INT_PTR CALLBACK CountingProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == kPosted) ++g_postedSeen;
    return message == WM_INITDIALOG || message == kPosted;
}

void CheckTexts(HWND dialog) {
    HWND status = GetDlgItem(dialog, IDC_STATUS);
    Check("SetWindowTextA.static.result", SetWindowTextA(status, "Installing Quorlet.exe.") != FALSE);
    char text[64];
    memset(text, 'X', sizeof(text));
    CheckNumber("GetWindowTextA.static.count", GetWindowTextA(status, text, sizeof(text)), 23);
    CheckText("GetWindowTextA.static.text", text, "Installing Quorlet.exe.");
    CheckNumber("GetWindowTextLengthA.static", GetWindowTextLengthA(status), 23);
    // A buffer too small: the text is cut and terminated.
    memset(text, 'X', sizeof(text));
    CheckNumber("GetWindowTextA.small_buffer.count", GetWindowTextA(status, text, 5), 4);
    CheckText("GetWindowTextA.small_buffer.text", text, "Inst");

    SetWindowTextA(dialog, "Qu\xE9rlet caption");
    memset(text, 'X', sizeof(text));
    GetWindowTextA(dialog, text, sizeof(text));
    CheckText("GetWindowTextA.caption.text", text, "Qu\xE9rlet caption");
    // The template's own text of the percentage.
    memset(text, 'X', sizeof(text));
    GetWindowTextA(GetDlgItem(dialog, IDC_PERCENT), text, sizeof(text));
    CheckText("GetWindowTextA.template_text", text, " 0 %");
}

void CheckEnable(HWND dialog) {
    // EnableWindow answers whether the window was disabled before.
    ArmSentinel();
    CheckNumber("EnableWindow.disable_enabled", EnableWindow(dialog, FALSE) != FALSE, FALSE);
    CheckNumber("IsWindowEnabled.after_disable", IsWindowEnabled(dialog) != FALSE, FALSE);
    CheckNumber("EnableWindow.disable_disabled", EnableWindow(dialog, FALSE) != FALSE, TRUE);
    CheckNumber("EnableWindow.enable_disabled", EnableWindow(dialog, TRUE) != FALSE, TRUE);
    CheckNumber("EnableWindow.enable_enabled", EnableWindow(dialog, TRUE) != FALSE, FALSE);
    CheckNumber("IsWindowEnabled.after_enable", IsWindowEnabled(dialog) != FALSE, TRUE);
}

void CheckFamily(HWND dialog) {
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
    Check("GetParent.control", GetParent(bar) == dialog);
    Check("IsChild.control", IsChild(dialog, bar) != FALSE);
    Check("IsChild.self", IsChild(dialog, dialog) == FALSE);
    CheckNumber("GetDlgCtrlID.control", GetDlgCtrlID(bar), IDC_PROGRESS);
    Check("GetDlgItem.missing", GetDlgItem(dialog, 4242) == nullptr);
}

// The progress dialog drains the queue at each step: a posted message comes
// out and is dispatched, and the queue runs dry.
void CheckDrain(HWND dialog) {
    g_postedSeen = 0;
    PostMessageA(dialog, kPosted, 0, 0);
    MSG message;
    int rounds = 0;
    while (rounds < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        ++rounds;
    }
    CheckNumber("PeekMessageA.drain.posted_dispatched", g_postedSeen, 1);
    Check("PeekMessageA.drain.ends", rounds < 1000, "the queue never ran dry");
}

void CheckIcon() {
    Check("LoadIconA.resource.result", LoadIconA(Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME)) != nullptr);
    Check("LoadIconA.missing.result", LoadIconA(Instance(), MAKEINTRESOURCEA(4242)) == nullptr);
}

void Run() {
    InitCommonControls();
    HWND dialog = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_PROGRESS), nullptr, CountingProc, 0);
    Check("windows.fixture.progress_dialog", dialog != nullptr);
    if (dialog != nullptr) {
        CheckTexts(dialog);
        CheckEnable(dialog);
        CheckFamily(dialog);
        CheckDrain(dialog);
        Check("DestroyWindow.dialog.result", DestroyWindow(dialog) != FALSE);
    }
    CheckIcon();
}

Group g_group("windows", Run);

}  // namespace
}  // namespace contract
