#include "ui/progress_dlg.h"

namespace {

// Exact, case-sensitive comparison of two texts.
BOOL SameText(LPCSTR first, LPCSTR second) {
    int i = 0;
    while (first[i] != '\0' && first[i] == second[i]) ++i;
    return first[i] == second[i];
}

}  // namespace

CProgressDlg::CProgressDlg(UINT nCaptionID)
    : m_nTitleId(nCaptionID != 0 ? nCaptionID : IDS_PROGRESS_TITLE),
      m_nLow(0),
      m_nHigh(100),
      m_nStepSize(10),
      m_bOwnerDisabled(FALSE) {}

CProgressDlg::~CProgressDlg() {
    if (m_hWnd != NULL) DestroyWindow();
}

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
END_MESSAGE_MAP()

BOOL CProgressDlg::Create(CWnd* pParent) {
    m_pParentWnd = CWnd::GetSafeOwner(pParent);
    if (m_pParentWnd != NULL && m_pParentWnd->IsWindowEnabled()) {
        m_pParentWnd->EnableWindow(FALSE);
        m_bOwnerDisabled = TRUE;
    }
    if (!CDialog::Create(IDD_PROGRESS, pParent)) {
        RestoreOwner();
        return FALSE;
    }
    return TRUE;
}

void CProgressDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_wndBar);
}

BOOL CProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_wndBar.SetRange(static_cast<short>(m_nLow), static_cast<short>(m_nHigh));
    m_wndBar.SetStep(m_nStepSize);
    m_wndBar.SetPos(m_nLow);
    CString caption;
    caption.LoadString(m_nTitleId);
    SetWindowText(caption);
    return TRUE;
}

void CProgressDlg::OnOK() {}

void CProgressDlg::OnCancel() {}

void CProgressDlg::SetRange(int nLower, int nUpper) {
    m_nLow = nLower;
    m_nHigh = nUpper;
    m_wndBar.SetRange(static_cast<short>(nLower), static_cast<short>(nUpper));
}

void CProgressDlg::SetStatus(LPCSTR lpszText) {
    CWnd* status = GetDlgItem(IDC_STATUS);
    if (status != NULL) status->SetWindowText(lpszText);
}

int CProgressDlg::SetPos(int nPos) {
    DrainMessages();
    int previous = m_wndBar.SetPos(nPos);
    ShowPercent(nPos);
    return LOWORD(previous);
}

void CProgressDlg::DrainMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void CProgressDlg::ShowPercent(int nPos) {
    // Computed in 64 bits so that no position overflows; an empty range
    // shows 0%.
    LONGLONG range = static_cast<LONGLONG>(m_nHigh) - m_nLow;
    LONGLONG value = range == 0 ? 0 : (static_cast<LONGLONG>(nPos) - m_nLow) * 100 / range;
    // 100 stays 100; above it the count starts again (101 shows 1).
    if (value != 100) value %= 100;
    char text[16];
    wsprintfA(text, "%d%c", static_cast<int>(value), '%');

    CWnd* percent = GetDlgItem(IDC_PERCENT);
    if (percent == NULL) return;
    CString current;
    percent->GetWindowText(current);
    if (!SameText(current, text)) percent->SetWindowText(text);
}

void CProgressDlg::RestoreOwner() {
    if (m_bOwnerDisabled && m_pParentWnd != NULL) m_pParentWnd->EnableWindow(TRUE);
    m_bOwnerDisabled = FALSE;
}

BOOL CProgressDlg::DestroyWindow() {
    RestoreOwner();
    return CDialog::DestroyWindow();
}
