// The window table and the calls that query and change windows: sending
// messages, the default window procedure, focus, enabling, showing,
// destruction.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "winsim/machine.h"
#include "winsim/transcript.h"
#include "winsim/window_manager.h"
#include "wm_internal.h"

namespace winsim {
namespace {

std::map<HWND, std::unique_ptr<Window>> g_windows;
std::vector<HWND> g_order;  // creation order
HWND g_focus = nullptr;
// Handles are never used twice, not even across machine resets, so a stale
// handle never names a new window.
ULONG_PTR g_nextHandle = 0x10000;

void ClearWindows() {
    g_windows.clear();
    g_order.clear();
    g_focus = nullptr;
}

ResetHook g_reset([] { ClearWindows(); });

bool Invalid(HWND handle) {
    if (FindWindowOf(handle) != nullptr) return false;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return true;
}

LRESULT CallClassProc(Window* window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND handle = window->handle;
    switch (window->kind) {
        case WindowKind::Dialog: return DialogWindowProc(handle, message, wParam, lParam);
        case WindowKind::Button: return ButtonProc(handle, message, wParam, lParam);
        case WindowKind::Static: return StaticProc(handle, message, wParam, lParam);
        case WindowKind::Edit: return EditProc(handle, message, wParam, lParam);
        case WindowKind::Progress: return ProgressProc(handle, message, wParam, lParam);
        case WindowKind::Plain: break;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

void DestroyOne(HWND handle) {
    Window* window = FindWindowOf(handle);
    if (window == nullptr) return;
    // Owned windows go first, then the window itself with its children.
    for (HWND other : AllWindows()) {
        Window* owned = FindWindowOf(other);
        if (owned != nullptr && owned->owner == handle) DestroyOne(other);
    }
    window = FindWindowOf(handle);
    if (window == nullptr) return;
    if (window->kind == WindowKind::Dialog) UserWindowClosing(handle);
    SendMessageA(handle, WM_DESTROY, 0, 0);
    window = FindWindowOf(handle);
    if (window == nullptr) return;
    std::vector<HWND> children = window->children;
    for (HWND child : children) DestroyOne(child);
    SendMessageA(handle, WM_NCDESTROY, 0, 0);
    window = FindWindowOf(handle);
    if (window == nullptr) return;
    if (window->kind == WindowKind::Dialog) Record("dialog destroy id=" + std::to_string(window->templateId));

    if (g_focus == handle) g_focus = nullptr;
    DropMessagesFor(handle);
    if (Window* parent = FindWindowOf(window->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    }
    for (auto& entry : g_windows) {
        if (entry.second->lastActivePopup == handle) entry.second->lastActivePopup = nullptr;
    }
    g_order.erase(std::remove(g_order.begin(), g_order.end(), handle), g_order.end());
    g_windows.erase(handle);
}

}  // namespace

Window* FindWindowOf(HWND handle) {
    if (handle == nullptr) return nullptr;
    auto it = g_windows.find(handle);
    return it == g_windows.end() ? nullptr : it->second.get();
}

Window* AddWindow(const Window& window) {
    auto stored = std::make_unique<Window>(window);
    g_nextHandle += 4;
    stored->handle = reinterpret_cast<HWND>(g_nextHandle);
    Window* result = stored.get();
    g_windows[result->handle] = std::move(stored);
    g_order.push_back(result->handle);
    if (Window* parent = FindWindowOf(result->parent)) parent->children.push_back(result->handle);
    return result;
}

HWND TopLevelOf(HWND handle) {
    Window* window = FindWindowOf(handle);
    while (window != nullptr && (window->style & WS_CHILD) && FindWindowOf(window->parent) != nullptr) {
        window = FindWindowOf(window->parent);
    }
    return window ? window->handle : nullptr;
}

bool IsDescendant(HWND ancestor, HWND handle) {
    Window* window = FindWindowOf(handle);
    while (window != nullptr && (window->style & WS_CHILD)) {
        if (window->parent == ancestor) return true;
        window = FindWindowOf(window->parent);
    }
    return false;
}

std::vector<HWND> AllWindows() { return g_order; }

RECT ScreenRect(const Window& window) {
    int left = window.x;
    int top = window.y;
    // A child's place is in its parent's client area, which is the parent.
    for (const Window* child = &window; child->style & WS_CHILD;) {
        const Window* parent = FindWindowOf(child->parent);
        if (parent == nullptr) break;
        left += parent->x;
        top += parent->y;
        child = parent;
    }
    return RECT{left, top, left + (window.client.right - window.client.left),
                top + (window.client.bottom - window.client.top)};
}

std::string RectText(const Window& window) {
    RECT rect = ScreenRect(window);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

int PrintableId(int id) { return id == 0xFFFF ? -1 : id; }

Window* DialogOf(HWND handle) {
    Window* window = FindWindowOf(handle);
    if (window == nullptr) return nullptr;
    if (window->kind == WindowKind::Dialog) return window;
    Window* parent = FindWindowOf(window->parent);
    return parent != nullptr && parent->kind == WindowKind::Dialog ? parent : nullptr;
}

std::string DescribeWindow(HWND handle) {
    Window* window = FindWindowOf(handle);
    if (window == nullptr) return "none";
    if (window->kind == WindowKind::Dialog) return "dialog " + std::to_string(window->templateId);
    Window* dialog = DialogOf(handle);
    if (dialog != nullptr) {
        return "dialog " + std::to_string(dialog->templateId) + " control " + std::to_string(PrintableId(window->id));
    }
    return "window " + Quote(window->text);
}

std::string ControlStates(const Window& control) {
    std::string states = control.enabled ? "enabled" : "disabled";
    if (!control.visible) states += ",hidden";
    if (control.kind == WindowKind::Button) {
        if (control.check == BST_CHECKED) states += ",checked";
        if ((control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) states += ",default";
    }
    if (g_focus == control.handle) states += ",focus";
    return states;
}

std::string WindowTag(HWND handle) {
    Window* window = FindWindowOf(handle);
    if (window == nullptr) return "window=none";
    Window* dialog = DialogOf(handle);
    if (dialog == nullptr) return "window=" + Quote(window->text);
    std::string tag = "dialog=" + std::to_string(dialog->templateId);
    if (window != dialog) tag += " id=" + std::to_string(PrintableId(window->id));
    return tag;
}

void RecordChange(HWND handle, const std::string& event, const std::string& detail) {
    Window* dialog = DialogOf(handle);
    if (dialog == nullptr || !dialog->opened) return;
    Record(event + " " + WindowTag(handle) + (detail.empty() ? "" : " " + detail));
}

HWND CreateTestWindow(const std::string& caption) {
    Window window;
    window.kind = WindowKind::Plain;
    window.className = "winsim_test";
    window.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    window.text = caption;
    window.visible = true;
    window.client = {0, 0, 640, 480};
    return AddWindow(window)->handle;
}

void MinimizeWindow(HWND handle, int clientWidth, int clientHeight) {
    Window* window = FindWindowOf(handle);
    if (window == nullptr) return;
    window->iconic = true;
    window->client = {0, 0, clientWidth, clientHeight};
    window->needsPaint = true;
}

HWND FindDialog(WORD templateId) {
    for (auto it = g_order.rbegin(); it != g_order.rend(); ++it) {
        Window* window = FindWindowOf(*it);
        if (window->kind == WindowKind::Dialog && window->templateId == templateId) return *it;
    }
    return nullptr;
}

int LiveWindowCount() { return static_cast<int>(g_windows.size()); }

}  // namespace winsim

using winsim::FindWindowOf;
using winsim::Window;
using winsim::WindowKind;

extern "C" {

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return winsim::CallClassProc(window, Msg, wParam, lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) return 0;
    switch (Msg) {
        case WM_SETTEXT: {
            window->text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
            winsim::RecordChange(hWnd, window->kind == WindowKind::Dialog ? "caption" : "text",
                                 winsim::Quote(window->text));
            return TRUE;
        }
        case WM_GETTEXT: {
            if (wParam == 0 || lParam == 0) return 0;
            std::size_t count = std::min(window->text.size(), static_cast<std::size_t>(wParam - 1));
            std::memcpy(reinterpret_cast<LPSTR>(lParam), window->text.data(), count);
            reinterpret_cast<LPSTR>(lParam)[count] = '\0';
            return static_cast<LRESULT>(count);
        }
        case WM_GETTEXTLENGTH: return static_cast<LRESULT>(window->text.size());
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE && (window->style & WS_SYSMENU)) SendMessageA(hWnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_CLOSE: DestroyWindow(hWnd); return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(hWnd, &paint);
            EndPaint(hWnd, &paint);
            return 0;
        }
        case WM_SETICON: {
            HICON previous = wParam == ICON_BIG ? window->bigIcon : window->smallIcon;
            (wParam == ICON_BIG ? window->bigIcon : window->smallIcon) = reinterpret_cast<HICON>(lParam);
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_GETICON:
            return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? window->bigIcon : window->smallIcon);
        default: return 0;
    }
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    if (winsim::Invalid(hWnd)) return FALSE;
    winsim::DestroyOne(hWnd);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) { return FindWindowOf(hWnd) != nullptr; }

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) { return winsim::IsDescendant(hWndParent, hWnd); }

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    Window* window = FindWindowOf(hWnd);
    return window != nullptr && window->enabled;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL wasDisabled = !window->enabled;
    bool enable = bEnable != FALSE;
    if (window->enabled != enable) {
        window->enabled = enable;
        if (enable) {
            window->style &= ~static_cast<DWORD>(WS_DISABLED);
        } else {
            window->style |= WS_DISABLED;
            if (winsim::g_focus == hWnd || winsim::IsDescendant(hWnd, winsim::g_focus)) winsim::g_focus = nullptr;
        }
        winsim::RecordChange(hWnd, enable ? "enable" : "disable");
        SendMessageA(hWnd, WM_ENABLE, enable, 0);
    }
    return wasDisabled;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    Window* window = FindWindowOf(hWnd);
    return window != nullptr && window->visible;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL wasVisible = window->visible;
    switch (nCmdShow) {
        case SW_HIDE: window->visible = false; break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            window->visible = true;
            window->iconic = true;
            break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
            window->visible = true;
            window->iconic = false;
            break;
        default: window->visible = true; break;
    }
    if (window->visible) {
        window->style |= WS_VISIBLE;
        window->needsPaint = true;
        // A popup that shows becomes its owner's last active popup.
        if (Window* owner = FindWindowOf(window->owner)) owner->lastActivePopup = hWnd;
    } else {
        window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) return FALSE;
    if (window->needsPaint && window->visible) SendMessageA(hWnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    (void)lpRect;
    (void)bErase;
    Window* window = FindWindowOf(winsim::TopLevelOf(hWnd));
    if (window == nullptr) return FALSE;
    window->needsPaint = true;
    return TRUE;
}

BOOL WINAPI IsIconic(HWND hWnd) {
    Window* window = FindWindowOf(hWnd);
    return window != nullptr && window->iconic;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *lpRect = window->client;
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr || lpRect == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *lpRect = winsim::ScreenRect(*window);
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    // The Z order is not simulated: hWndInsertAfter changes nothing.
    (void)hWndInsertAfter;
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const std::string before = winsim::RectText(*window);
    if (!(uFlags & SWP_NOMOVE)) {
        window->x = X;
        window->y = Y;
    }
    if (!(uFlags & SWP_NOSIZE)) window->client = {0, 0, cx < 0 ? 0 : cx, cy < 0 ? 0 : cy};
    if (winsim::RectText(*window) != before) winsim::RecordChange(hWnd, "place", "rect=" + winsim::RectText(*window));
    if (uFlags & SWP_SHOWWINDOW) ShowWindow(hWnd, SW_SHOW);
    if (uFlags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
    return TRUE;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    if (winsim::Invalid(hWnd)) return FALSE;
    return static_cast<BOOL>(SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (lpString != nullptr && nMaxCount > 0) lpString[0] = '\0';
    if (winsim::Invalid(hWnd) || nMaxCount <= 0) return 0;
    return static_cast<int>(
        SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
    if (winsim::Invalid(hWnd)) return 0;
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

HWND WINAPI GetParent(HWND hWnd) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (window->style & WS_CHILD) return window->parent;
    // A popup's "parent" is its owner; an overlapped window has none.
    return (window->style & WS_POPUP) ? window->owner : nullptr;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (uCmd == GW_OWNER) return (window->style & WS_CHILD) ? nullptr : window->owner;
    if (uCmd == GW_CHILD) return window->children.empty() ? nullptr : window->children.front();
    // Siblings: children of the same parent, or the top-level windows.
    std::vector<HWND> siblings;
    if (Window* parent = FindWindowOf(window->parent); parent != nullptr && (window->style & WS_CHILD)) {
        siblings = parent->children;
    } else {
        for (HWND other : winsim::AllWindows()) {
            if (!(FindWindowOf(other)->style & WS_CHILD)) siblings.push_back(other);
        }
    }
    auto it = std::find(siblings.begin(), siblings.end(), hWnd);
    switch (uCmd) {
        case GW_HWNDFIRST: return siblings.front();
        case GW_HWNDLAST: return siblings.back();
        case GW_HWNDNEXT: return it + 1 < siblings.end() ? *(it + 1) : nullptr;
        case GW_HWNDPREV: return it != siblings.begin() ? *(it - 1) : nullptr;
        default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HWND WINAPI GetLastActivePopup(HWND hWnd) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) return nullptr;
    Window* popup = FindWindowOf(window->lastActivePopup);
    return popup != nullptr && popup->visible ? popup->handle : hWnd;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (nIndex) {
        case GWL_STYLE: return static_cast<LONG>(window->style);
        case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
        case GWL_ID: return window->id;
        default: break;
    }
    if (window->kind == WindowKind::Dialog) {
        if (nIndex == DWLP_MSGRESULT) return window->msgResult;
        if (nIndex == DWLP_DLGPROC) return reinterpret_cast<LONG_PTR>(window->dlgProc);
        if (nIndex == DWLP_USER) return window->user;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    Window* window = FindWindowOf(hWnd);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR previous = GetWindowLongPtrA(hWnd, nIndex);
    switch (nIndex) {
        case GWL_STYLE: window->style = static_cast<DWORD>(dwNewLong); return previous;
        case GWL_EXSTYLE: window->exStyle = static_cast<DWORD>(dwNewLong); return previous;
        case GWL_ID: window->id = static_cast<int>(dwNewLong); return previous;
        default: break;
    }
    if (window->kind == WindowKind::Dialog) {
        if (nIndex == DWLP_MSGRESULT) window->msgResult = dwNewLong;
        else if (nIndex == DWLP_DLGPROC) window->dlgProc = reinterpret_cast<DLGPROC>(dwNewLong);
        else if (nIndex == DWLP_USER) window->user = dwNewLong;
        else SetLastError(ERROR_INVALID_PARAMETER);
        return previous;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) { return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex)); }

LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, dwNewLong));
}

HWND WINAPI SetFocus(HWND hWnd) {
    HWND previous = winsim::g_focus;
    if (hWnd != nullptr) {
        Window* window = FindWindowOf(hWnd);
        if (window == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if (!window->enabled) return nullptr;
    }
    if (previous == hWnd) return previous;
    winsim::g_focus = hWnd;
    if (previous != nullptr && FindWindowOf(previous) != nullptr) {
        SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    }
    if (hWnd != nullptr) SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND WINAPI GetFocus(void) { return winsim::g_focus; }

HWND WINAPI GetActiveWindow(void) {
    // The most recently created visible, enabled top-level window.
    std::vector<HWND> all = winsim::AllWindows();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        Window* window = FindWindowOf(*it);
        if (!(window->style & WS_CHILD) && window->visible && window->enabled) return *it;
    }
    return nullptr;
}

}  // extern "C"
