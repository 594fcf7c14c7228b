#include "cwnd.h"

#include "cstring.h"
#include "cwinapp.h"

namespace {

CWnd* g_pFirstAttached = 0;   // objects attached to their window
CWnd* g_pFirstTemporary = 0;  // objects that FromHandle made

}  // namespace

CWnd::CWnd() : m_hWnd(0), m_pNextWnd(0), m_bDefaultWanted(FALSE) {}

CWnd::~CWnd() {
    if (m_hWnd != 0) DestroyWindow();
    // A window that was destroyed elsewhere may have left the object attached.
    if (m_hWnd != 0) Detach();
}

BOOL CWnd::DestroyWindow() {
    // A window object without a window (the application's placeholder main
    // window) has nothing to destroy.
    if (m_hWnd == 0) return FALSE;
    HWND hWnd = m_hWnd;
    BOOL result = ::DestroyWindow(hWnd);
    if (m_hWnd == hWnd) Detach();
    return result;
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (hWndNew == 0 || m_hWnd != 0) return FALSE;
    m_hWnd = hWndNew;
    m_pNextWnd = g_pFirstAttached;
    g_pFirstAttached = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    for (CWnd** link = &g_pFirstAttached; *link != 0; link = &(*link)->m_pNextWnd) {
        if (*link == this) {
            *link = m_pNextWnd;
            break;
        }
    }
    m_pNextWnd = 0;
    m_hWnd = 0;
    return hWnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == 0) return 0;
    for (CWnd* wnd = g_pFirstAttached; wnd != 0; wnd = wnd->m_pNextWnd) {
        if (wnd->m_hWnd == hWnd) return wnd;
    }
    return 0;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == 0) return 0;
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd != 0) return wnd;
    for (wnd = g_pFirstTemporary; wnd != 0; wnd = wnd->m_pNextWnd) {
        if (wnd->m_hWnd == hWnd) return wnd;
    }
    wnd = new CWnd;
    if (wnd == 0) return 0;
    wnd->m_hWnd = hWnd;
    wnd->m_pNextWnd = g_pFirstTemporary;
    g_pFirstTemporary = wnd;
    return wnd;
}

void AfxDeleteTempWindows() {
    while (g_pFirstTemporary != 0) {
        CWnd* wnd = g_pFirstTemporary;
        g_pFirstTemporary = wnd->m_pNextWnd;
        // A temporary object only stands for the window: it destroys nothing.
        wnd->m_hWnd = 0;
        delete wnd;
    }
}

void CWnd::DetachChildren() {
    CWnd* wnd = g_pFirstAttached;
    while (wnd != 0) {
        CWnd* next = wnd->m_pNextWnd;
        if (wnd != this && ::IsChild(m_hWnd, wnd->m_hWnd)) wnd->Detach();
        wnd = next;
    }
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }

void CWnd::SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }

int CWnd::GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString& rString) const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    LPSTR buffer = rString.GetBuffer(length);
    if (buffer == 0) return;
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    rString.ReleaseBuffer();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }

void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    RECT rect;
    if (!::GetWindowRect(m_hWnd, &rect)) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (GetStyle() & WS_CHILD) {
        RECT area;
        if (::GetClientRect(::GetParent(m_hWnd), &area)) {
            ::SetWindowPos(m_hWnd, NULL, (area.right - width) / 2, (area.bottom - height) / 2, 0, 0, flags);
        }
        return;
    }
    RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT center = screen;
    HWND hCenter = pAlternateOwner != NULL ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    // A hidden or minimized window shows no place to centre on.
    if (hCenter != NULL && (::GetWindowLongA(hCenter, GWL_STYLE) & WS_VISIBLE) && !::IsIconic(hCenter)) {
        ::GetWindowRect(hCenter, &center);
    }
    int left = (center.left + center.right) / 2 - width / 2;
    int top = (center.top + center.bottom) / 2 - height / 2;
    // On the screen, its top left corner first where it does not fit.
    if (left + width > screen.right) left = screen.right - width;
    if (left < screen.left) left = screen.left;
    if (top + height > screen.bottom) top = screen.bottom - height;
    if (top < screen.top) top = screen.top;
    ::SetWindowPos(m_hWnd, NULL, left, top, 0, 0, flags);
}

BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }

BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }

BOOL CWnd::IsDialogMessage(LPMSG lpMsg) { return ::IsDialogMessageA(m_hWnd, lpMsg); }

CWnd* CWnd::GetSafeOwner(CWnd* pParent) {
    HWND hWnd = 0;
    if (pParent != 0) {
        hWnd = pParent->m_hWnd;
    } else {
        CWnd* mainWnd = AfxGetMainWnd();
        if (mainWnd != 0) hWnd = mainWnd->m_hWnd;
    }
    // A popup cannot be owned by a child window.
    while (hWnd != 0 && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
    if (pParent == 0 && hWnd != 0) hWnd = ::GetLastActivePopup(hWnd);
    return FromHandle(hWnd);
}

void CWnd::OnPaint() { Default(); }

HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }

LRESULT CWnd::Default() {
    m_bDefaultWanted = TRUE;
    return 0;
}

BOOL CWnd::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // Handlers may send messages to this window again: each message keeps
    // its own request for the default processing.
    BOOL outerDefault = m_bDefaultWanted;
    m_bDefaultWanted = FALSE;
    *pResult = 0;
    BOOL handled = OnWndMsg(message, wParam, lParam, pResult);
    if (m_bDefaultWanted) handled = FALSE;
    m_bDefaultWanted = outerDefault;
    return handled;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) return OnCommand(wParam, lParam);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), message, 0, 0);
    if (entry == 0) return FALSE;
    switch (entry->nSig) {
        case AfxSig_vv:
            (this->*entry->pfn)();
            return TRUE;
        case AfxSig_hv:
            *pResult = reinterpret_cast<LRESULT>((this->*entry->pfnHandle)());
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()
