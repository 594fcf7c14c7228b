#include "cdialog.h"

#include "cdataexchange.h"
#include "cwinapp.h"

namespace {

// Messages whose answer a dialog procedure returns itself; for every other
// message the answer goes into DWLP_MSGRESULT.
BOOL AnswersDirectly(UINT message) {
    return message == WM_QUERYDRAGICON || message == WM_COMPAREITEM || message == WM_VKEYTOITEM ||
           message == WM_CHARTOITEM || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

// The style of a dialog template of the module's resources: the first
// DWORD of a DLGTEMPLATE, the fourth of a DLGTEMPLATEEX (after its version
// and signature words, help id and extended style). FALSE when the template
// cannot be read.
BOOL ReadTemplateStyle(HINSTANCE hInst, UINT nIDTemplate, DWORD* pStyle) {
    HRSRC hResource = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDTemplate), RT_DIALOG);
    if (hResource == NULL) return FALSE;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    DWORD size = ::SizeofResource(hInst, hResource);
    const BYTE* bytes = hTemplate != NULL ? static_cast<const BYTE*>(::LockResource(hTemplate)) : NULL;
    if (bytes == NULL) return FALSE;
    DWORD offset = 0;
    if (size >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF) offset = 12;
    if (size < offset + 4) return FALSE;
    *pStyle = bytes[offset] | (static_cast<DWORD>(bytes[offset + 1]) << 8) |
              (static_cast<DWORD>(bytes[offset + 2]) << 16) | (static_cast<DWORD>(bytes[offset + 3]) << 24);
    return TRUE;
}

}  // namespace

CDialog::CDialog() : m_pParentWnd(0), m_nIDTemplate(0) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_pParentWnd(pParentWnd), m_nIDTemplate(nIDTemplate) {}

CDialog::~CDialog() {}

int CDialog::DoModal() {
    CWnd* owner = GetSafeOwner(m_pParentWnd);
    INT_PTR result = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                       owner != 0 ? owner->m_hWnd : 0, AfxDlgProc,
                                       reinterpret_cast<LPARAM>(this));
    // The window is gone; the object no longer stands for it.
    if (m_hWnd != 0) Detach();
    return static_cast<int>(result);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDTemplate = nIDTemplate;
    // An owner that a derived class chose before stays.
    if (m_pParentWnd == 0) m_pParentWnd = pParentWnd;
    HWND hOwner = 0;
    if (pParentWnd != 0) {
        hOwner = pParentWnd->m_hWnd;
    } else if (CWnd* mainWnd = AfxGetMainWnd()) {
        hOwner = mainWnd->m_hWnd;
    }
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDTemplate), hOwner, AfxDlgProc,
                                     reinterpret_cast<LPARAM>(this));
    if (hWnd == 0) {
        // Creation may have failed after WM_INITDIALOG attached the object.
        if (m_hWnd != 0) Detach();
        return FALSE;
    }
    return TRUE;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange* pDX) { (void)pDX; }

BOOL CDialog::CheckAutoCenter() {
    DWORD style;
    if (!ReadTemplateStyle(AfxGetResourceHandle(), m_nIDTemplate, &style)) return FALSE;
    // A template that has the system place the dialog keeps that place.
    // WS_VISIBLE does not count: the dialog manager creates every dialog
    // hidden and shows it after WM_INITDIALOG.
    return !(style & (DS_CENTER | DS_CENTERMOUSE));
}

void CDialog::PostInitDialog(const RECT& rectBefore, DWORD dwStyleBefore) {
    // Only a dialog that WM_INITDIALOG left hidden, where it was, and that
    // is unowned or whose owner takes no input (a modal dialog's).
    if (dwStyleBefore & WS_VISIBLE) return;
    if (GetStyle() & (WS_VISIBLE | WS_CHILD)) return;
    RECT rect;
    GetWindowRect(&rect);
    if (rect.left != rectBefore.left || rect.top != rectBefore.top) return;
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if (hOwner != NULL && ::IsWindowEnabled(hOwner)) return;
    if (!CheckAutoCenter()) return;
    CenterWindow();
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        // Controls bound to members go with the dialog.
        DetachChildren();
    } else if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        Detach();
        return FALSE;
    }
    LRESULT result = 0;
    if (!DispatchToMap(message, wParam, lParam, &result)) return FALSE;
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
        if (dialog == 0) return FALSE;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        dialog->Attach(hWnd);
        RECT rectBefore;
        ::GetWindowRect(hWnd, &rectBefore);
        DWORD dwStyleBefore = dialog->GetStyle();
        BOOL result = dialog->OnInitDialog();
        // The handler may have destroyed the window.
        if (dialog->m_hWnd == hWnd) dialog->PostInitDialog(rectBefore, dwStyleBefore);
        return result;
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) find no object yet.
    CDialog* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (dialog == 0) return FALSE;
    return dialog->HandleMessage(message, wParam, lParam);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, CDialog::OnOK)
    ON_COMMAND(IDCANCEL, CDialog::OnCancel)
END_MESSAGE_MAP()
