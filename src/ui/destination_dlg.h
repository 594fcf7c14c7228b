// The first window of the run: the introduction, the proposed destination
// folder, and the shell's folder browser to choose another one.
#pragma once

#include <afxwin.h>

#include "ui/resource.h"

class CDestinationDlg : public CDialog {
public:
    explicit CDestinationDlg(CWnd* pParent = NULL);
    virtual ~CDestinationDlg();

    enum { IDD = IDD_DESTINATION };
    CString m_strDestination;  // shown in IDC_DESTINATION; the user's choice after IDOK
    CString m_strIntro;        // shown in IDC_INTRO
    HICON m_hAppIcon;          // IDR_MAINFRAME, never destroyed here

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnBrowse();

    DECLARE_MESSAGE_MAP()
};
