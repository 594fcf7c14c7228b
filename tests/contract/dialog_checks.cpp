// The dialog manager on the installer's own templates: the focus on the
// first tab stop, DM_GETDEFID, WM_GETDLGCODE of each kind of control, Enter
// (the default push button), Escape and the close box (IDCANCEL), auto radio
// buttons in a WS_GROUP group and the tab stop that follows the checked
// one, where a dialog is during WM_INITDIALOG and that SetWindowPos moves
// it for good, and the progress bar's answers.
//
// Each modal dialog runs in DialogBoxParamA as the installer's do. Once it
// shows, the checks look at it and then give it one input the way the user
// would (a key posted to the focus window, the close box); the dialog ends
// with the command that input produced.
#include "contract.h"  // <windows.h> before <commctrl.h>

#include <commctrl.h>
#include <string.h>

#include <vector>

#include "resource.h"

namespace contract {
namespace {

const UINT kShown = WM_USER + 100;  // posted from WM_INITDIALOG

enum class Input { Enter, Escape, Close, TabEnterEscape };

struct Session {
    const char* name;   // the dialog's name in check names
    void (*look)(HWND dialog, const std::string& name);
    Input input;
    std::vector<int> commands;  // BN_CLICKED ids that reached the dialog, in order
    void (*init)(HWND dialog);  // more work for WM_INITDIALOG, or null
};

Session* g_session = nullptr;

// The dialog as WM_INITDIALOG found it, before the session's own work.
struct AtInit {
    RECT rect;
    bool hidden;  // neither visible nor WS_VISIBLE in its style
} g_atInit;

INT_PTR CALLBACK SessionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
        case WM_INITDIALOG:
            GetWindowRect(dialog, &g_atInit.rect);
            g_atInit.hidden = !IsWindowVisible(dialog) && !(GetWindowLongA(dialog, GWL_STYLE) & WS_VISIBLE);
            if (g_session->init) g_session->init(dialog);
            PostMessageA(dialog, kShown, 0, 0);
            return TRUE;  // the dialog manager puts the focus on the first tab stop
        case kShown: {
            const std::string name = g_session->name;
            if (g_session->look) g_session->look(dialog, name);
            switch (g_session->input) {
                case Input::Enter:
                    PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
                    break;
                case Input::Escape:
                    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                    break;
                case Input::Close:
                    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                    break;
                case Input::TabEnterEscape:
                    // Tab to the next tab stop, Enter there, then Escape.
                    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
                    PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
                    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                    break;
            }
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                const int id = LOWORD(wParam);
                g_session->commands.push_back(id);
                if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
            }
            return TRUE;
    }
    return FALSE;
}

// Runs one dialog; checks the result and the last command it received, and
// returns all of them.
std::vector<int> RunDialog(WORD templateId, Session session, INT_PTR expected) {
    g_session = &session;
    const std::string name = std::string("dialog.") + session.name;
    INT_PTR result = DialogBoxParamA(Instance(), MAKEINTRESOURCEA(templateId), nullptr, SessionProc, 0);
    CheckNumber(name + ".result", result, expected);
    Check(name + ".command", !session.commands.empty() && session.commands.back() == expected,
          Format("%u commands, the last %d", static_cast<unsigned>(session.commands.size()),
                 session.commands.empty() ? 0 : session.commands.back()));
    g_session = nullptr;
    return session.commands;
}

int FocusId(HWND dialog) {
    HWND focus = GetFocus();
    return focus != nullptr && GetParent(focus) == dialog ? GetDlgCtrlID(focus) : -1000;
}

LRESULT DefId(HWND dialog) { return SendMessageA(dialog, DM_GETDEFID, 0, 0); }

LRESULT DialogCode(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), WM_GETDLGCODE, 0, 0); }

// What the dialog manager answers once each dialog shows.
void LookAtDestination(HWND dialog, const std::string& name) {
    // The template has WS_VISIBLE, yet the dialog is shown only after
    // WM_INITDIALOG; it has no owner, so its corner, (0, 0) in the
    // template, counts from the screen's.
    Check(name + ".hidden_during_WM_INITDIALOG", g_atInit.hidden);
    Check(name + ".at_the_template_corner", g_atInit.rect.left == 0 && g_atInit.rect.top == 0,
          Format("(%ld, %ld)", static_cast<long>(g_atInit.rect.left), static_cast<long>(g_atInit.rect.top)));
    CheckNumber(name + ".focus_first_tab_stop", FocusId(dialog), IDOK);
    CheckNumber(name + ".DM_GETDEFID", DefId(dialog), MAKELONG(IDOK, DC_HASDEFID));
    struct Code {
        const char* control;
        int id;
        LRESULT code;
    };
    const Code codes[] = {
        {"default_push_button", IDOK, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {"push_button", IDC_BROWSE, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {"static_text", IDC_INTRO, DLGC_STATIC},
    };
    for (const Code& c : codes) {
        CheckNumber(name + ".WM_GETDLGCODE." + c.control, DialogCode(dialog, c.id), c.code);
    }
}

void LookAtFileTypes(HWND dialog, const std::string& name) {
    CheckNumber(name + ".focus_first_tab_stop", FocusId(dialog), IDC_TYPES);
    CheckNumber(name + ".DM_GETDEFID", DefId(dialog), MAKELONG(IDCANCEL, DC_HASDEFID));
    CheckNumber(name + ".WM_GETDLGCODE.edit", DialogCode(dialog, IDC_TYPES),
                DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
    CheckNumber(name + ".WM_GETDLGCODE.default_push_button", DialogCode(dialog, IDCANCEL),
                DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    CheckNumber(name + ".WM_GETDLGCODE.push_button", DialogCode(dialog, IDOK), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
}

LRESULT Checked(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0); }

// The two auto radio buttons form one group: a click checks one and clears
// the other, and tells the dialog.
void LookAtRestart(HWND dialog, const std::string& name) {
    CheckNumber(name + ".focus_first_tab_stop", FocusId(dialog), IDOK);
    CheckNumber(name + ".DM_GETDEFID", DefId(dialog), MAKELONG(IDOK, DC_HASDEFID));
    CheckNumber(name + ".WM_GETDLGCODE.auto_radio_button", DialogCode(dialog, IDC_RESTART_NOW),
                DLGC_BUTTON | DLGC_RADIOBUTTON);
    CheckNumber(name + ".radio.none_checked_at_start", Checked(dialog, IDC_RESTART_NOW) | Checked(dialog, IDC_RESTART_LATER),
                BST_UNCHECKED);

    SendMessageA(GetDlgItem(dialog, IDC_RESTART_NOW), BM_CLICK, 0, 0);
    CheckNumber(name + ".radio.click_now.now", Checked(dialog, IDC_RESTART_NOW), BST_CHECKED);
    CheckNumber(name + ".radio.click_now.later", Checked(dialog, IDC_RESTART_LATER), BST_UNCHECKED);
    SendMessageA(GetDlgItem(dialog, IDC_RESTART_LATER), BM_CLICK, 0, 0);
    CheckNumber(name + ".radio.click_later.now", Checked(dialog, IDC_RESTART_NOW), BST_UNCHECKED);
    CheckNumber(name + ".radio.click_later.later", Checked(dialog, IDC_RESTART_LATER), BST_CHECKED);
    const std::vector<int>& commands = g_session->commands;
    Check(name + ".radio.notifies",
          commands.size() == 2 && commands[0] == IDC_RESTART_NOW && commands[1] == IDC_RESTART_LATER,
          Format("%u commands", static_cast<unsigned>(commands.size())));
}

bool TabStop(HWND dialog, int id) { return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_TABSTOP) != 0; }

// As the framework's radio exchange does during WM_INITDIALOG.
void CheckRestartNow(HWND dialog) { SendMessageA(GetDlgItem(dialog, IDC_RESTART_NOW), BM_SETCHECK, BST_CHECKED, 0); }

// Neither radio button has WS_TABSTOP in the template: checking one makes it
// a tab stop and clearing takes it away, so the focus starts on the checked
// button, and a click moves the tab stop with the check. Check boxes keep
// their style.
void LookAtRestartSelected(HWND dialog, const std::string& name) {
    CheckNumber(name + ".focus_first_tab_stop", FocusId(dialog), IDC_RESTART_NOW);
    Check(name + ".tab_stop.checked", TabStop(dialog, IDC_RESTART_NOW));
    Check(name + ".tab_stop.unchecked", !TabStop(dialog, IDC_RESTART_LATER));

    SendMessageA(GetDlgItem(dialog, IDC_RESTART_LATER), BM_CLICK, 0, 0);
    Check(name + ".tab_stop.click_later.now", !TabStop(dialog, IDC_RESTART_NOW));
    Check(name + ".tab_stop.click_later.later", TabStop(dialog, IDC_RESTART_LATER));

    HWND button = GetDlgItem(dialog, IDC_RESTART_NOW);
    const LONG style = GetWindowLongA(button, GWL_STYLE);
    struct Kind {
        const char* name;
        LONG type;
        bool tabStopWhenChecked;
    } kinds[] = {
        {"BS_RADIOBUTTON", BS_RADIOBUTTON, true},
        {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON, true},
        {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX, false},
    };
    for (const Kind& kind : kinds) {
        SetWindowLongA(button, GWL_STYLE, (style & ~(BS_TYPEMASK | WS_TABSTOP)) | kind.type);
        SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
        const std::string check = name + ".tab_stop.BM_SETCHECK." + kind.name;
        Check(check + ".checked", TabStop(dialog, IDC_RESTART_NOW) == kind.tabStopWhenChecked);
        // Unchecking from a tab stop: a radio button loses it, a check box keeps it.
        SetWindowLongA(button, GWL_STYLE, GetWindowLongA(button, GWL_STYLE) | WS_TABSTOP);
        SendMessageA(button, BM_SETCHECK, BST_UNCHECKED, 0);
        Check(check + ".unchecked", TabStop(dialog, IDC_RESTART_NOW) != kind.tabStopWhenChecked);
    }
    SetWindowLongA(button, GWL_STYLE, style & ~WS_TABSTOP);
}

// As the framework centres a dialog after WM_INITDIALOG: over the screen,
// the size kept.
void CentreOnScreen(HWND dialog) {
    RECT rect;
    GetWindowRect(dialog, &rect);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 2;
    SetWindowPos(dialog, NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The restart template has no WS_VISIBLE; the dialog, unowned, starts at
// the screen's corner, and the modal loop finds it where WM_INITDIALOG put
// it: centred on the 800 x 600 screen (the Wine prefix's virtual desktop).
void LookAtRestartCentred(HWND dialog, const std::string& name) {
    Check(name + ".hidden_during_WM_INITDIALOG", g_atInit.hidden);
    Check(name + ".at_the_template_corner", g_atInit.rect.left == 0 && g_atInit.rect.top == 0,
          Format("(%ld, %ld)", static_cast<long>(g_atInit.rect.left), static_cast<long>(g_atInit.rect.top)));
    CheckNumber(name + ".screen_width", GetSystemMetrics(SM_CXSCREEN), 800);
    CheckNumber(name + ".screen_height", GetSystemMetrics(SM_CYSCREEN), 600);
    RECT rect;
    GetWindowRect(dialog, &rect);
    const long width = g_atInit.rect.right - g_atInit.rect.left;
    const long height = g_atInit.rect.bottom - g_atInit.rect.top;
    Check(name + ".size_kept", rect.right - rect.left == width && rect.bottom - rect.top == height,
          Format("%ld x %ld, then %ld x %ld", width, height, static_cast<long>(rect.right - rect.left),
                 static_cast<long>(rect.bottom - rect.top)));
    Check(name + ".centred", rect.left == (800 - width) / 2 && rect.top == (600 - height) / 2,
          Format("(%ld, %ld) for %ld x %ld", static_cast<long>(rect.left), static_cast<long>(rect.top), width, height));
}

void CheckModalDialogs() {
    RunDialog(IDD_DESTINATION, {"destination.enter", LookAtDestination, Input::Enter, {}, nullptr}, IDOK);
    RunDialog(IDD_DESTINATION, {"destination.escape", nullptr, Input::Escape, {}, nullptr}, IDCANCEL);
    // Tab from "Next" to "Browse": Enter then presses "Browse".
    std::vector<int> commands =
        RunDialog(IDD_DESTINATION, {"destination.tab_enter", nullptr, Input::TabEnterEscape, {}, nullptr}, IDCANCEL);
    Check("dialog.destination.tab_enter.presses_focused_button",
          commands.size() == 2 && commands[0] == IDC_BROWSE,
          Format("%u commands, the first %d", static_cast<unsigned>(commands.size()), commands.empty() ? 0 : commands[0]));
    RunDialog(IDD_DESTINATION, {"destination.close_box", nullptr, Input::Close, {}, nullptr}, IDCANCEL);
    // In the file-types dialog the default push button is "No", IDCANCEL.
    RunDialog(IDD_FILETYPES, {"file_types.enter", LookAtFileTypes, Input::Enter, {}, nullptr}, IDCANCEL);
    RunDialog(IDD_FILETYPES, {"file_types.close_box", nullptr, Input::Close, {}, nullptr}, IDCANCEL);
    RunDialog(IDD_RESTART, {"restart.enter", LookAtRestart, Input::Enter, {}, nullptr}, IDOK);
    // "Restart now" checked during WM_INITDIALOG: the focus starts there, and
    // Enter on a radio button still chooses the default button, OK.
    RunDialog(IDD_RESTART, {"restart.selected", LookAtRestartSelected, Input::Enter, {}, CheckRestartNow}, IDOK);
    RunDialog(IDD_RESTART, {"restart.centred", LookAtRestartCentred, Input::Escape, {}, CentreOnScreen}, IDCANCEL);
    // The restart dialog has no Cancel button; Escape still sends IDCANCEL.
    RunDialog(IDD_RESTART, {"restart.escape", nullptr, Input::Escape, {}, nullptr}, IDCANCEL);
    RunDialog(IDD_RESTART, {"restart.close_box", nullptr, Input::Close, {}, nullptr}, IDCANCEL);
}

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The progress bar of the modeless progress dialog: PBM_SETRANGE answers
// the previous range, PBM_SETPOS the previous position, which stays within
// the range.
void CheckProgressBar() {
    InitCommonControls();
    HWND dialog = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_PROGRESS), nullptr, QuietProc, 0);
    Check("dialog.progress.created", dialog != nullptr);
    if (dialog == nullptr) return;
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
    auto send = [bar](UINT message, WPARAM wParam, LPARAM lParam) {
        return static_cast<long long>(SendMessageA(bar, message, wParam, lParam));
    };
    struct Step {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        long long answer;
    };
    const Step steps[] = {
        {"SETRANGE.0_100", PBM_SETRANGE, 0, MAKELPARAM(0, 100), MAKELONG(0, 100)},
        {"SETPOS.0", PBM_SETPOS, 0, 0, 0},
        {"SETPOS.42", PBM_SETPOS, 42, 0, 0},
        {"SETPOS.100", PBM_SETPOS, 100, 0, 42},
        {"SETPOS.after_100", PBM_SETPOS, 7, 0, 100},
        {"SETRANGE.0_50", PBM_SETRANGE, 0, MAKELPARAM(0, 50), MAKELONG(0, 100)},
        {"SETPOS.51", PBM_SETPOS, 51, 0, 7},
        {"SETPOS.after_51_clamped", PBM_SETPOS, 20, 0, 50},
        {"SETRANGE.10_20", PBM_SETRANGE, 0, MAKELPARAM(10, 20), MAKELONG(0, 50)},
        {"SETPOS.5", PBM_SETPOS, 5, 0, 20},
        {"SETPOS.after_5_clamped", PBM_SETPOS, 15, 0, 10},
        {"SETSTEP.1", PBM_SETSTEP, 1, 0, 10},
    };
    for (const Step& s : steps) {
        CheckNumber(std::string("dialog.progress.PBM_") + s.name, send(s.message, s.wParam, s.lParam), s.answer);
    }
    DestroyWindow(dialog);
}

void Run() {
    CheckModalDialogs();
    CheckProgressBar();
}

Group g_group("dialogs", Run);

}  // namespace
}  // namespace contract
