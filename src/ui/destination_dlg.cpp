#include "ui/destination_dlg.h"

CDestinationDlg::CDestinationDlg(CWnd* pParent) : CDialog(IDD_DESTINATION, pParent), m_hAppIcon(NULL) {
    m_hAppIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

CDestinationDlg::~CDestinationDlg() {}

void CDestinationDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DESTINATION, m_strDestination);
    DDX_Text(pDX, IDC_INTRO, m_strIntro);
}

BEGIN_MESSAGE_MAP(CDestinationDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BROWSE, CDestinationDlg::OnBrowse)
END_MESSAGE_MAP()

BOOL CDestinationDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hAppIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hAppIcon));
    return TRUE;
}

void CDestinationDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    // Minimised: the application icon in the middle of the client area.
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hAppIcon);
}

HCURSOR CDestinationDlg::OnQueryDragIcon() { return m_hAppIcon; }

void CDestinationDlg::OnBrowse() {
    // Without the shell's allocator the id list could not be given back:
    // the browser is not offered and the dialog stays as it was.
    LPMALLOC pMalloc = NULL;
    if (FAILED(SHGetMalloc(&pMalloc)) || pMalloc == NULL) return;

    CString title;
    title.LoadString(IDS_CHOOSE_DIR);
    char displayName[MAX_PATH];
    displayName[0] = '\0';
    CWnd* mainWnd = AfxGetMainWnd();

    BROWSEINFOA info;
    info.hwndOwner = mainWnd != NULL ? mainWnd->m_hWnd : NULL;
    info.pidlRoot = NULL;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = NULL;
    info.lParam = 0;
    info.iImage = 0;

    LPITEMIDLIST pidl = SHBrowseForFolderA(&info);
    if (pidl == NULL) {
        pMalloc->Release();
        return;
    }
    char path[MAX_PATH];
    path[0] = '\0';
    BOOL converted = SHGetPathFromIDListA(pidl, path);
    pMalloc->Free(pidl);
    pMalloc->Release();
    // A folder the shell could not name leaves the shown folder as it was.
    if (!converted) return;
    path[MAX_PATH - 1] = '\0';
    CWnd* destination = GetDlgItem(IDC_DESTINATION);
    if (destination != NULL) destination->SetWindowText(path);
}
