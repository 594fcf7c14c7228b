// The predefined controls (button, static, edit) and the common controls'
// progress bar, with the messages the dialog manager and the program send
// them.
#include "commctrl.h"
#include "winsim/machine.h"
#include "winsim/window_manager.h"
#include "wm_internal.h"

namespace winsim {
namespace {

bool g_commonControls = false;
ResetHook g_reset([] { g_commonControls = false; });

DWORD ButtonType(const Window& button) { return button.style & BS_TYPEMASK; }

// Clears the other auto radio buttons of the group that holds `button`: the
// controls from the last WS_GROUP control at or before it to the next one.
void ClearOtherRadios(HWND button) {
    Window* self = FindWindowOf(button);
    Window* parent = self ? FindWindowOf(self->parent) : nullptr;
    if (parent == nullptr) return;
    const std::vector<HWND> siblings = parent->children;
    std::size_t index = 0;
    while (index < siblings.size() && siblings[index] != button) ++index;
    std::size_t first = index;
    while (first > 0 && !(FindWindowOf(siblings[first])->style & WS_GROUP)) --first;
    for (std::size_t i = first; i < siblings.size(); ++i) {
        if (i > first && (FindWindowOf(siblings[i])->style & WS_GROUP)) break;
        if (siblings[i] == button) continue;
        // Every other auto radio button is told, checked or not: clearing
        // one also takes its tab stop away.
        Window* other = FindWindowOf(siblings[i]);
        if (other != nullptr && other->kind == WindowKind::Button && ButtonType(*other) == BS_AUTORADIOBUTTON) {
            SendMessageA(siblings[i], BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

}  // namespace

bool CommonControlsRegistered() { return g_commonControls; }

bool ClassAvailable(const std::string& className, WindowKind* kind, std::string* canonicalName) {
    std::string lower;
    for (char c : className) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (lower == "button") *kind = WindowKind::Button, *canonicalName = "Button";
    else if (lower == "static") *kind = WindowKind::Static, *canonicalName = "Static";
    else if (lower == "edit") *kind = WindowKind::Edit, *canonicalName = "Edit";
    else if (lower == "msctls_progress32" && g_commonControls) *kind = WindowKind::Progress, *canonicalName = PROGRESS_CLASSA;
    else return false;
    return true;
}

LRESULT ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* button = FindWindowOf(handle);
    switch (message) {
        case WM_GETDLGCODE:
            switch (ButtonType(*button)) {
                case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
                case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
                case BS_RADIOBUTTON:
                case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
                case BS_GROUPBOX: return DLGC_STATIC;
                default: return DLGC_BUTTON;
            }
        case BM_GETCHECK: return static_cast<LRESULT>(button->check);
        case BM_SETCHECK:
            // A radio button is a tab stop while it is checked, so that Tab
            // reaches its group on the selected button.
            if (ButtonType(*button) == BS_RADIOBUTTON || ButtonType(*button) == BS_AUTORADIOBUTTON) {
                if (wParam != BST_UNCHECKED) {
                    button->style |= WS_TABSTOP;
                } else {
                    button->style &= ~static_cast<DWORD>(WS_TABSTOP);
                }
            }
            if (button->check != wParam) {
                button->check = wParam;
                RecordChange(handle, "check", "state=" + std::to_string(wParam));
            }
            return 0;
        case BM_GETSTATE: return static_cast<LRESULT>(button->check | (GetFocus() == handle ? 0x0008 : 0));
        case BM_SETSTYLE:
            button->style = (button->style & 0xFFFF0000u) | LOWORD(wParam);
            return 0;
        case BM_CLICK: {
            // A click reaches only a visible, enabled button; a group box
            // takes none.
            if (!button->enabled || !button->visible || ButtonType(*button) == BS_GROUPBOX) return 0;
            SetFocus(handle);
            button = FindWindowOf(handle);
            if (button == nullptr) return 0;
            if (ButtonType(*button) == BS_AUTORADIOBUTTON) {
                SendMessageA(handle, BM_SETCHECK, BST_CHECKED, 0);
                ClearOtherRadios(handle);
            } else if (ButtonType(*button) == BS_AUTOCHECKBOX) {
                SendMessageA(handle, BM_SETCHECK, button->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
            }
            button = FindWindowOf(handle);
            if (button == nullptr) return 0;
            SendMessageA(button->parent, WM_COMMAND, MAKEWPARAM(button->id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(handle));
            return 0;
        }
        default: return DefWindowProcA(handle, message, wParam, lParam);
    }
}

LRESULT StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* control = FindWindowOf(handle);
    switch (message) {
        case WM_GETDLGCODE: return DLGC_STATIC;
        case STM_SETICON: {
            HICON previous = control->icon;
            control->icon = reinterpret_cast<HICON>(wParam);
            return reinterpret_cast<LRESULT>(previous);
        }
        case STM_GETICON: return reinterpret_cast<LRESULT>(control->icon);
        default: return DefWindowProcA(handle, message, wParam, lParam);
    }
}

LRESULT EditProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* control = FindWindowOf(handle);
    switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
            if (control->style & ES_MULTILINE) code |= DLGC_WANTALLKEYS;
            return code;
        }
        case EM_SETSEL:
        case EM_LIMITTEXT: return 0;
        default: return DefWindowProcA(handle, message, wParam, lParam);
    }
}

LRESULT ProgressProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* bar = FindWindowOf(handle);
    auto clamp = [bar](int pos) { return pos < bar->low ? bar->low : pos > bar->high ? bar->high : pos; };
    auto setPos = [&](int pos) {
        int previous = bar->pos;
        bar->pos = clamp(pos);
        RecordChange(handle, "progress", "pos=" + std::to_string(bar->pos));
        return static_cast<LRESULT>(previous);
    };
    switch (message) {
        case PBM_SETRANGE: {
            // Two 16-bit bounds, low word and high word.
            LRESULT previous = MAKELRESULT(bar->low, bar->high);
            bar->low = LOWORD(lParam);
            bar->high = HIWORD(lParam);
            bar->pos = clamp(bar->pos);
            RecordChange(handle, "progress",
                         "range=" + std::to_string(bar->low) + ".." + std::to_string(bar->high));
            return previous;
        }
        case PBM_SETPOS: return setPos(static_cast<int>(wParam));
        case PBM_DELTAPOS: return setPos(bar->pos + static_cast<int>(wParam));
        case PBM_STEPIT: {
            // Past the end the bar starts again from the low bound.
            int next = bar->pos + bar->step;
            if (next > bar->high) next = bar->low + (next - bar->high);
            return setPos(next);
        }
        case PBM_SETSTEP: {
            int previous = bar->step;
            bar->step = static_cast<int>(wParam);
            RecordChange(handle, "progress", "step=" + std::to_string(bar->step));
            return previous;
        }
        case PBM_GETPOS: return bar->pos;
        default: return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace winsim

extern "C" void WINAPI InitCommonControls(void) { winsim::g_commonControls = true; }
