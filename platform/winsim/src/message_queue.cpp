// The thread's message queue: posted messages in order, then WM_PAINT for a
// window that needs painting, then, when nothing else is there, the
// simulated user's next step.
#include <deque>

#include "winsim/machine.h"
#include "wm_internal.h"

namespace winsim {
namespace {

std::deque<MSG> g_queue;
ResetHook g_reset([] { g_queue.clear(); });

bool Matches(const MSG& message, HWND filter, UINT first, UINT last) {
    if (filter != nullptr && message.hwnd != filter && !IsDescendant(filter, message.hwnd)) return false;
    if (first == 0 && last == 0) return true;
    return message.message >= first && message.message <= last;
}

// WM_PAINT for the first visible top-level window that needs painting. It is
// handed out once per invalidation, so a window procedure that does not
// validate cannot hold the queue forever.
bool PaintMessage(MSG* message, HWND filter, UINT first, UINT last, bool remove) {
    for (HWND handle : AllWindows()) {
        Window* window = FindWindowOf(handle);
        if (window == nullptr || !window->needsPaint || !window->visible || (window->style & WS_CHILD)) continue;
        MSG paint = {handle, WM_PAINT, 0, 0, 0, {0, 0}};
        if (!Matches(paint, filter, first, last)) continue;
        if (remove) window->needsPaint = false;
        *message = paint;
        return true;
    }
    return false;
}

}  // namespace

bool NextQueuedMessage(MSG* message, HWND filter, UINT first, UINT last, bool remove) {
    for (auto it = g_queue.begin(); it != g_queue.end(); ++it) {
        if (!Matches(*it, filter, first, last)) continue;
        *message = *it;
        if (remove) g_queue.erase(it);
        return true;
    }
    return PaintMessage(message, filter, first, last, remove);
}

void DropMessagesFor(HWND window) {
    for (auto it = g_queue.begin(); it != g_queue.end();) {
        it = it->hwnd == window ? g_queue.erase(it) : it + 1;
    }
}

}  // namespace winsim

extern "C" {

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd != nullptr && winsim::FindWindowOf(hWnd) == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    winsim::g_queue.push_back(MSG{hWnd, Msg, wParam, lParam, 0, {0, 0}});
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
    winsim::g_queue.push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0, 0, {0, 0}});
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    bool remove = (wRemoveMsg & PM_REMOVE) != 0;
    // The user acts only when the program finds nothing to do; each step
    // may post input, which is then returned.
    do {
        if (winsim::NextQueuedMessage(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, remove)) return TRUE;
    } while (winsim::UserIdle(nullptr));
    return FALSE;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (PeekMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE)) return lpMsg->message != WM_QUIT;
    // Nothing will ever come: on Windows the thread would wait for good.
    winsim::UserFailure("GetMessageA waits for a message and neither the program nor the user will send one");
    lpMsg->hwnd = nullptr;
    lpMsg->message = WM_QUIT;
    lpMsg->wParam = 0;
    lpMsg->lParam = 0;
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    // Keys that stand for a character get their WM_CHAR.
    if (lpMsg == nullptr || lpMsg->message != WM_KEYDOWN) return FALSE;
    WPARAM character;
    switch (lpMsg->wParam) {
        case VK_RETURN: character = '\r'; break;
        case VK_ESCAPE: character = 27; break;
        case VK_TAB: character = '\t'; break;
        case VK_SPACE: character = ' '; break;
        default: return FALSE;
    }
    PostMessageA(lpMsg->hwnd, WM_CHAR, character, lpMsg->lParam);
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (lpMsg == nullptr || lpMsg->hwnd == nullptr) return 0;
    return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

}  // extern "C"
