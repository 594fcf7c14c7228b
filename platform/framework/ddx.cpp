#include "cdataexchange.h"

#include "cstring.h"
#include "cwnd.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) { return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC); }

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == 0) return;
    if (pDX->m_bSaveAndValidate) {
        CWnd* control = CWnd::FromHandle(hWndCtrl);
        if (control != 0) control->GetWindowText(value);
    } else {
        ::SetWindowTextA(hWndCtrl, value);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == 0) return;
    if (pDX->m_bSaveAndValidate) value = -1;
    int iButton = 0;
    do {
        if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) != 0) value = iButton;
            } else {
                ::SendMessageA(hWndCtrl, BM_SETCHECK, iButton == value, 0);
            }
            ++iButton;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != 0 && !(::GetWindowLongA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != 0) return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl != 0) rControl.Attach(hWndCtrl);
}
