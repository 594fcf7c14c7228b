// The modeless window shown while files are copied: a status line, a bar and
// a percentage. The run has no message loop, so each position change drains
// the thread's message queue to keep the windows alive.
#pragma once

#include <afxwin.h>

#include "ui/resource.h"

class CProgressDlg : public CDialog {
public:
    // The caption's string id; 0 stands for IDS_PROGRESS_TITLE.
    explicit CProgressDlg(UINT nCaptionID = 0);
    virtual ~CProgressDlg();

    enum { IDD = IDD_PROGRESS };

    // Disables the owner (when there is one and it is enabled), then creates
    // and shows the window. FALSE, with the owner enabled again, when the
    // window cannot be created.
    BOOL Create(CWnd* pParent = NULL);
    void SetRange(int nLower, int nUpper);
    void SetStatus(LPCSTR lpszText);
    // Moves the bar and shows the percentage; returns the previous position.
    int SetPos(int nPos);
    // Enables the owner again, before the window goes.
    virtual BOOL DestroyWindow();

    CProgressCtrl m_wndBar;
    UINT m_nTitleId;
    int m_nLow;
    int m_nHigh;
    int m_nStepSize;
    BOOL m_bOwnerDisabled;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    // The dialog cannot be dismissed: Enter and Escape do nothing.
    virtual void OnOK();
    virtual void OnCancel();

    void DrainMessages();
    void ShowPercent(int nPos);
    void RestoreOwner();

    DECLARE_MESSAGE_MAP()
};
