#include "ui/file_types_dlg.h"

CFileTypesDlg::CFileTypesDlg(CWnd* pParent) : CDialog(IDD_FILETYPES, pParent) {
    m_strTypes = "1st asm asp bas c cpp def dpr for f77 frm h hpj idl inc ini jav java log m me out pas pov rc sql tex txt";
}

CFileTypesDlg::~CFileTypesDlg() {}

void CFileTypesDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TYPES, m_strTypes);
}

BEGIN_MESSAGE_MAP(CFileTypesDlg, CDialog)
END_MESSAGE_MAP()
