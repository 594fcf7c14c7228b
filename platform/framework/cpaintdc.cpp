#include "cpaintdc.h"

#include "cwnd.h"

CPaintDC::CPaintDC(CWnd* pWnd) : m_hDC(0), m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() {
    if (m_hDC != 0) ::EndPaint(m_hWnd, &m_ps);
}
