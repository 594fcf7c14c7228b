// Tells the user that Windows must restart and offers "now" or "later".
#pragma once

#include <afxwin.h>

#include "ui/resource.h"

class CRestartDlg : public CDialog {
public:
    explicit CRestartDlg(CWnd* pParent = NULL);
    virtual ~CRestartDlg();

    enum { IDD = IDD_RESTART };
    // 0: restart now, 1: restart later, -1: no button selected.
    int m_nRestartChoice;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    DECLARE_MESSAGE_MAP()
};
