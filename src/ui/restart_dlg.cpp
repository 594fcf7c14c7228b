#include "ui/restart_dlg.h"

CRestartDlg::CRestartDlg(CWnd* pParent) : CDialog(IDD_RESTART, pParent), m_nRestartChoice(0) {}

CRestartDlg::~CRestartDlg() {}

void CRestartDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_RESTART_NOW, m_nRestartChoice);
}

BEGIN_MESSAGE_MAP(CRestartDlg, CDialog)
END_MESSAGE_MAP()
