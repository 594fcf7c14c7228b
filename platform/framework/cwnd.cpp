#include "cwnd.h"

CWnd::CWnd() : m_hWnd(0) {}

CWnd::~CWnd() {
    if (m_hWnd != 0) DestroyWindow();
}

BOOL CWnd::DestroyWindow() {
    // A window object without a window (the application's placeholder main
    // window) has nothing to destroy.
    if (m_hWnd == 0) return FALSE;
    BOOL result = ::DestroyWindow(m_hWnd);
    m_hWnd = 0;
    return result;
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()
