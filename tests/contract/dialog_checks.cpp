// The dialog manager on the installer's own templates: the focus on the
// first tab stop, DM_GETDEFID, WM_GETDLGCODE of each kind of control, Enter
// (the default push button), Escape and the close box (IDCANCEL), auto radio
// buttons in a WS_GROUP group, and the progress bar's answers.
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
};

Session* g_session = nullptr;

INT_PTR CALLBACK SessionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    switch (message) {
        case WM_INITDIALOG:
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

void CheckModalDialogs() {
    RunDialog(IDD_DESTINATION, {"destination.enter", LookAtDestination, Input::Enter, {}}, IDOK);
    RunDialog(IDD_DESTINATION, {"destination.escape", nullptr, Input::Escape, {}}, IDCANCEL);
    // Tab from "Next" to "Browse": Enter then presses "Browse".
    std::vector<int> commands =
        RunDialog(IDD_DESTINATION, {"destination.tab_enter", nullptr, Input::TabEnterEscape, {}}, IDCANCEL);
    Check("dialog.destination.tab_enter.presses_focused_button",
          commands.size() == 2 && commands[0] == IDC_BROWSE,
          Format("%u commands, the first %d", static_cast<unsigned>(commands.size()), commands.empty() ? 0 : commands[0]));
    RunDialog(IDD_DESTINATION, {"destination.close_box", nullptr, Input::Close, {}}, IDCANCEL);
    // In the file-types dialog the default push button is "No", IDCANCEL.
    RunDialog(IDD_FILETYPES, {"file_types.enter", LookAtFileTypes, Input::Enter, {}}, IDCANCEL);
    RunDialog(IDD_FILETYPES, {"file_types.close_box", nullptr, Input::Close, {}}, IDCANCEL);
    RunDialog(IDD_RESTART, {"restart.enter", LookAtRestart, Input::Enter, {}}, IDOK);
    // The restart dialog has no Cancel button; Escape still sends IDCANCEL.
    RunDialog(IDD_RESTART, {"restart.escape", nullptr, Input::Escape, {}}, IDCANCEL);
    RunDialog(IDD_RESTART, {"restart.close_box", nullptr, Input::Close, {}}, IDCANCEL);
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
