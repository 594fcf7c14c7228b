// Asks whether the listed file extensions are to be registered as text
// files; the user may edit the list. IDOK ("&Yes") registers it.
#pragma once

#include <afxwin.h>

#include "ui/resource.h"

class CFileTypesDlg : public CDialog {
public:
    explicit CFileTypesDlg(CWnd* pParent = NULL);
    virtual ~CFileTypesDlg();

    enum { IDD = IDD_FILETYPES };
    CString m_strTypes;  // extensions without dots, separated by blanks

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    DECLARE_MESSAGE_MAP()
};
