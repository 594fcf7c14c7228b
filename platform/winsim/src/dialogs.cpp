// The dialog manager: dialogs built from the templates of the module's
// resources, the default dialog procedure, the modal loop, EndDialog and the
// keyboard handling of IsDialogMessageA.
#include <cstdio>

#include "winsim/dialog_template.h"
#include "winsim/faults.h"
#include "winsim/machine.h"
#include "winsim/resources.h"
#include "winsim/transcript.h"
#include "wm_internal.h"

namespace winsim {
namespace {

// Dialog base units of "MS Sans Serif" 8 on a 96 dpi screen.
const int kBaseUnitX = 6;
const int kBaseUnitY = 13;

int PixelsX(short units) { return units * kBaseUnitX / 4; }
int PixelsY(short units) { return units * kBaseUnitY / 8; }
RECT PixelRect(short cx, short cy) { return RECT{0, 0, PixelsX(cx), PixelsY(cy)}; }

// Messages whose answer a dialog procedure returns itself instead of
// setting DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    return message == WM_INITDIALOG || message == WM_QUERYDRAGICON || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

bool WantsFocus(const Window& control) {
    return (control.style & WS_TABSTOP) && control.visible && control.enabled;
}

HWND FirstTabStop(const Window& dialog) {
    for (HWND child : dialog.children) {
        if (WantsFocus(*FindWindowOf(child))) return child;
    }
    return nullptr;
}

// The tab stop after `current` in template order, wrapping round; the first
// one when the focus is on no control of the dialog.
HWND NextTabStop(const Window& dialog, HWND current) {
    const std::vector<HWND>& children = dialog.children;
    std::size_t at = 0;
    while (at < children.size() && children[at] != current) ++at;
    if (at == children.size()) return FirstTabStop(dialog);
    for (std::size_t step = 1; step <= children.size(); ++step) {
        HWND candidate = children[(at + step) % children.size()];
        if (WantsFocus(*FindWindowOf(candidate))) return candidate;
    }
    return nullptr;
}

bool CreateControl(HWND dialog, const DialogItem& item, HINSTANCE instance) {
    Window control;
    if (!ClassAvailable(item.ClassName(), &control.kind, &control.className)) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return false;
    }
    control.parent = dialog;
    control.style = item.style | WS_CHILD;
    control.exStyle = item.exStyle;
    control.id = static_cast<int>(item.id);
    control.visible = (item.style & WS_VISIBLE) != 0;
    control.enabled = (item.style & WS_DISABLED) == 0;
    control.client = PixelRect(item.cx, item.cy);
    control.x = PixelsX(item.x);
    control.y = PixelsY(item.y);
    if (item.title.isOrdinal) {
        control.text = "#" + std::to_string(item.title.ordinal);
    } else {
        control.text = item.title.text;
    }
    Window* created = AddWindow(control);
    // An icon static shows the icon its text names.
    if (created->kind == WindowKind::Static && (item.style & SS_TYPEMASK) == SS_ICON) {
        LPCSTR name = item.title.isOrdinal ? MAKEINTRESOURCEA(item.title.ordinal) : item.title.text.c_str();
        created->icon = LoadIconA(instance, name);
    }
    return true;
}

// Builds the dialog and its controls, sends WM_INITDIALOG, shows it when
// asked to, and records it. Null when the template or a control's class is
// missing. A modal dialog's owner takes no input from before WM_INITDIALOG
// on: `ownerDisabled` tells whether it was enabled and so is to be enabled
// again when the dialog ends.
HWND BuildDialog(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM param,
                 bool modal, bool* ownerDisabled = nullptr) {
    if (ownerDisabled != nullptr) *ownerDisabled = false;
    if (instance != nullptr && instance != ModuleInstance()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    FoundResource found = FindModuleResource(RT_DIALOG, templateName, settings().language);
    DialogTemplate parsed;
    if (!found.found) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (!ParseDialogTemplate(found.data, found.size, &parsed)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    if (parent != nullptr && FindWindowOf(parent) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }

    Window dialog;
    dialog.kind = WindowKind::Dialog;
    dialog.className = "#32770";
    dialog.style = parsed.style & ~static_cast<DWORD>(WS_VISIBLE);
    dialog.exStyle = parsed.exStyle;
    dialog.text = parsed.caption;
    // A dialog is owned by the top-level window of the parent it was given.
    dialog.owner = TopLevelOf(parent);
    dialog.enabled = (parsed.style & WS_DISABLED) == 0;
    dialog.client = PixelRect(parsed.cx, parsed.cy);
    // The template's corner counts from the owner's client area, or from the
    // screen without an owner or with DS_ABSALIGN.
    dialog.x = PixelsX(parsed.x);
    dialog.y = PixelsY(parsed.y);
    if (Window* owner = FindWindowOf(dialog.owner); owner != nullptr && !(parsed.style & DS_ABSALIGN)) {
        RECT ownerRect = ScreenRect(*owner);
        dialog.x += ownerRect.left;
        dialog.y += ownerRect.top;
    }
    dialog.dlgProc = proc;
    dialog.templateId = IS_INTRESOURCE(templateName) ? LOWORD(reinterpret_cast<ULONG_PTR>(templateName)) : 0;
    dialog.language = found.language;
    HWND handle = AddWindow(dialog)->handle;
    if (modal && dialog.owner != nullptr && IsWindowEnabled(dialog.owner)) {
        EnableWindow(dialog.owner, FALSE);
        if (ownerDisabled != nullptr) *ownerDisabled = true;
    }

    if (parsed.style & DS_SETFONT) SendMessageA(handle, WM_SETFONT, 0, FALSE);
    for (const DialogItem& item : parsed.items) {
        if (!CreateControl(handle, item, instance)) {
            DWORD error = GetLastError();
            DestroyWindow(handle);
            if (ownerDisabled != nullptr && *ownerDisabled) EnableWindow(dialog.owner, TRUE);
            SetLastError(error);
            return nullptr;
        }
    }

    Window* window = FindWindowOf(handle);
    HWND firstTab = FirstTabStop(*window);
    LRESULT focusDefault = SendMessageA(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), param);
    window = FindWindowOf(handle);
    if (window == nullptr) {
        if (ownerDisabled != nullptr && *ownerDisabled) EnableWindow(dialog.owner, TRUE);
        return nullptr;
    }
    // The first tab stop as WM_INITDIALOG left the dialog: checking a radio
    // button there makes it one.
    if (focusDefault) {
        if (HWND focus = FirstTabStop(*window)) SetFocus(focus);
    }
    if ((parsed.style & WS_VISIBLE) || modal) ShowWindow(handle, SW_SHOW);
    RecordDialogOpened(handle);
    if (!UserWindowOpened(handle)) EndDialog(handle, IDCANCEL);
    return handle;
}

// The default push button's id, as DM_GETDEFID gives it: the one DM_SETDEFID
// named, else the first BS_DEFPUSHBUTTON control.
LRESULT DefaultId(const Window& dialog) {
    if (dialog.defaultId != 0) return MAKELRESULT(dialog.defaultId, DC_HASDEFID);
    for (HWND child : dialog.children) {
        if (SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
            return MAKELRESULT(FindWindowOf(child)->id, DC_HASDEFID);
        }
    }
    return 0;
}

void SendCommand(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    // A disabled button cannot be chosen by key either.
    if (control != nullptr && !IsWindowEnabled(control)) return;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

}  // namespace

void RecordDialogOpened(HWND handle) {
    Window* dialog = FindWindowOf(handle);
    char language[8];
    std::snprintf(language, sizeof language, "0x%04X", dialog->language);
    std::string owner = dialog->owner ? DescribeWindow(dialog->owner) : "none";
    Record("dialog open id=" + std::to_string(dialog->templateId) + " language=" + language +
           " caption=" + Quote(dialog->text) + " owner=" + owner + " bigicon=" + IconName(dialog->bigIcon) +
           " smallicon=" + IconName(dialog->smallIcon) + " rect=" + RectText(*dialog));
    for (HWND child : dialog->children) {
        const Window& control = *FindWindowOf(child);
        std::string line = "control dialog=" + std::to_string(dialog->templateId) +
                           " id=" + std::to_string(PrintableId(control.id)) + " class=" + control.className +
                           " text=" + Quote(control.text) + " states=" + ControlStates(control);
        if (control.kind == WindowKind::Static && (control.style & SS_TYPEMASK) == SS_ICON) {
            line += " icon=" + IconName(control.icon);
        }
        if (control.kind == WindowKind::Progress) {
            line += " range=" + std::to_string(control.low) + ".." + std::to_string(control.high) +
                    " pos=" + std::to_string(control.pos) + " step=" + std::to_string(control.step);
        }
        Record(line);
    }
    dialog->opened = true;
}

LRESULT DialogWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* dialog = FindWindowOf(handle);
    DLGPROC proc = dialog->dlgProc;
    INT_PTR handled = proc != nullptr ? proc(handle, message, wParam, lParam) : FALSE;
    dialog = FindWindowOf(handle);
    if (dialog == nullptr) return 0;
    if (handled) return AnswersDirectly(message) ? handled : dialog->msgResult;

    switch (message) {
        case DM_GETDEFID: return DefaultId(*dialog);
        case DM_SETDEFID: dialog->defaultId = static_cast<int>(wParam); return TRUE;
        case WM_CLOSE: {
            // The close box: IDCANCEL, unless a Cancel button is there and disabled.
            HWND cancel = GetDlgItem(handle, IDCANCEL);
            if (cancel == nullptr || IsWindowEnabled(cancel)) {
                PostMessageA(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
            }
            return 0;
        }
        default: return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace winsim

using winsim::FindWindowOf;
using winsim::Window;
using winsim::WindowKind;

extern "C" {

HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
    DWORD error;
    if (winsim::ShouldFail("CreateDialogParamA", &error)) {
        SetLastError(error);
        return nullptr;
    }
    return winsim::BuildDialog(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, false);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam) {
    DWORD error;
    if (winsim::ShouldFail("DialogBoxParamA", &error)) {
        SetLastError(error);
        return -1;
    }
    // The owner takes no input while the dialog is up.
    bool ownerDisabled = false;
    HWND dialog =
        winsim::BuildDialog(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam, true, &ownerDisabled);
    if (dialog == nullptr) return -1;
    HWND owner = FindWindowOf(dialog)->owner;

    for (Window* window = FindWindowOf(dialog); window != nullptr && !window->ended; window = FindWindowOf(dialog)) {
        MSG message;
        if (winsim::NextQueuedMessage(&message, nullptr, 0, 0, true)) {
            if (!IsDialogMessageA(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            continue;
        }
        winsim::UserIdle(dialog);
    }

    Window* window = FindWindowOf(dialog);
    INT_PTR result = window != nullptr ? window->result : 0;
    if (ownerDisabled) EnableWindow(owner, TRUE);
    if (window != nullptr) DestroyWindow(dialog);
    return result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    Window* dialog = FindWindowOf(hDlg);
    if (dialog == nullptr || dialog->kind != WindowKind::Dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!dialog->ended) winsim::Record("dialog end id=" + std::to_string(dialog->templateId) +
                                       " result=" + std::to_string(nResult));
    dialog->ended = true;
    dialog->result = nResult;
    // A modeless dialog is hidden; the modal loop destroys a modal one.
    ShowWindow(hDlg, SW_HIDE);
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    Window* dialog = FindWindowOf(hDlg);
    if (dialog == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND child : dialog->children) {
        Window* control = FindWindowOf(child);
        // Ids are compared in 16 bits, as a DLGTEMPLATE stores them.
        if (LOWORD(control->id) == LOWORD(nIDDlgItem)) return child;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    Window* window = FindWindowOf(hWnd);
    return window != nullptr && (window->style & WS_CHILD) ? window->id : 0;
}

LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (FindWindowOf(hDlg) == nullptr) return 0;
    return winsim::DialogWindowProc(hDlg, Msg, wParam, lParam);
}

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    Window* dialog = FindWindowOf(hDlg);
    if (dialog == nullptr || lpMsg == nullptr) return FALSE;
    if (lpMsg->hwnd != hDlg && !winsim::IsDescendant(hDlg, lpMsg->hwnd)) return FALSE;

    if (lpMsg->message == WM_KEYDOWN || lpMsg->message == WM_CHAR) {
        LRESULT code = FindWindowOf(lpMsg->hwnd) != nullptr
                           ? SendMessageA(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam, reinterpret_cast<LPARAM>(lpMsg))
                           : 0;
        bool controlTakesKey = (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
        if (!controlTakesKey && lpMsg->message == WM_KEYDOWN) {
            if (lpMsg->wParam == VK_RETURN) {
                // The button with the focus, else the default button, else IDOK.
                int id = IDOK;
                HWND focus = GetFocus();
                if (focus != nullptr && winsim::IsDescendant(hDlg, focus) &&
                    (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
                    id = GetDlgCtrlID(focus);
                } else {
                    LRESULT defaultId = SendMessageA(hDlg, DM_GETDEFID, 0, 0);
                    if (HIWORD(defaultId) == DC_HASDEFID) id = LOWORD(defaultId);
                }
                winsim::SendCommand(hDlg, id);
                return TRUE;
            }
            if (lpMsg->wParam == VK_ESCAPE) {
                winsim::SendCommand(hDlg, IDCANCEL);
                return TRUE;
            }
            // Tab moves the focus to the next tab stop (the keyboard state,
            // and with it Shift+Tab, is not simulated).
            if (lpMsg->wParam == VK_TAB && !(code & DLGC_WANTTAB)) {
                HWND next = winsim::NextTabStop(*dialog, GetFocus());
                if (next != nullptr) SetFocus(next);
                return TRUE;
            }
        }
        // Enter, Escape and Tab as characters belong to the keys above.
        if (!controlTakesKey && lpMsg->message == WM_CHAR &&
            (lpMsg->wParam == '\r' || lpMsg->wParam == 27 || lpMsg->wParam == '\t')) {
            return TRUE;
        }
    }
    DispatchMessageA(lpMsg);
    return TRUE;
}

}  // extern "C"
