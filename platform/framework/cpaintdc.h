// CPaintDC: painting a window between BeginPaint and EndPaint.
#pragma once

#include <windows.h>

class CWnd;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

    PAINTSTRUCT m_ps;
    HDC m_hDC;

private:
    CPaintDC(const CPaintDC&);
    CPaintDC& operator=(const CPaintDC&);

    HWND m_hWnd;
};
