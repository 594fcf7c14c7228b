// CWnd: a window object and the handle it is attached to.
#pragma once

#include <windows.h>

#include "afx_cmdtarget.h"

class CString;

class CWnd : public CCmdTarget {
public:
    CWnd();
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return m_hWnd; }
    virtual BOOL DestroyWindow();

    HWND m_hWnd;

    DECLARE_MESSAGE_MAP()
};
