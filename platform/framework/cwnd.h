// CWnd: a window object and the handle it is attached to.
//
// An object is attached to its window for good (a dialog from WM_INITDIALOG
// on, a control bound by DDX_Control) or stands for a window temporarily:
// FromHandle gives the attached object, or else a temporary object for that
// handle that lives until AfxDeleteTempWindows (the framework calls it when
// the application ends). Temporary objects are kept, one per handle, so a
// pointer to one stays valid.
#pragma once

#include <windows.h>

#include "afx_cmdtarget.h"

class CString;

class CWnd : public CCmdTarget {
public:
    CWnd();
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return m_hWnd; }
    static CWnd* FromHandle(HWND hWnd);  // NULL for NULL, and when no object can be had
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    CWnd* GetDlgItem(int nID) const;
    void SetWindowText(LPCSTR lpszString);
    int GetWindowText(LPSTR lpszStringBuf, int nMaxCount) const;
    // The whole text; the string is left as it was when no memory is left.
    void GetWindowText(CString& rString) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;  // in screen coordinates
    DWORD GetStyle() const;
    // Centres a pop-up window over pAlternateOwner, else over its owner, or
    // over the screen when it has none or the owner is hidden or minimized;
    // a child window in its parent's client area. The window is kept on
    // the screen.
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsDialogMessage(LPMSG lpMsg);

    // The window that a new dialog or message box is to be owned by: the
    // given parent, or, when that is a child window, its first ancestor that
    // is not one; without a parent, the application's main window (when it
    // has a window at all) and then that window's last active popup. NULL
    // when there is none.
    static CWnd* GetSafeOwner(CWnd* pParent = NULL);

    virtual BOOL DestroyWindow();

    HWND m_hWnd;

protected:
    // Handlers that fall back on the window's default processing.
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();

    // Asks for the default processing of the message being handled.
    LRESULT Default();

    // Dispatch through the message map: WM_COMMAND to OnCommand, other
    // messages to their map entry. FALSE when the map has no handler or
    // the handler asked for the default processing.
    BOOL DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    // Detaches every attached object whose window is a child of this one.
    void DetachChildren();

private:
    CWnd* m_pNextWnd;         // the list of attached, or of temporary, objects
    BOOL m_bDefaultWanted;    // Default() was called for the current message

    friend void AfxDeleteTempWindows();

    DECLARE_MESSAGE_MAP()
};

// Deletes the temporary objects that FromHandle made.
void AfxDeleteTempWindows();
