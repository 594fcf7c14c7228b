#include "app/install_app.h"

namespace {

// The system's text for `code`, allocated by the system; when it has none,
// the code itself stands in its place, so the message never lacks it.
LPSTR SystemText(DWORD code, char* fallback) {
    LPSTR text = NULL;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL, code,
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text),
                                  0, NULL);
    if (length == 0 || text == NULL) {
        wsprintfA(fallback, "%ld\r\n", static_cast<LONG>(code));
        return NULL;
    }
    return text;
}

// Fills the format with one or two arguments, then the system text.
void ShowReport(UINT nID, LPCSTR first, LPCSTR second, BOOL twoArguments, UINT nType) {
    DWORD code = GetLastError();
    char fallback[16];
    LPSTR systemText = SystemText(code, fallback);
    LPCSTR explanation = systemText != NULL ? systemText : fallback;

    // A missing string leaves an empty format, never an unset buffer.
    char format[1024];
    if (LoadStringA(AfxGetResourceHandle(), nID, format, sizeof(format)) == 0) format[0] = '\0';
    char message[1024];
    if (!twoArguments) {
        wsprintfA(message, format, first, explanation);
    } else {
        wsprintfA(message, format, first, second, explanation);
    }
    if (systemText != NULL) LocalFree(systemText);
    AfxMessageBox(message, nType, 0);
}

}  // namespace

void CInstallApp::ReportError(UINT nID, LPCSTR argument, UINT nType) {
    ShowReport(nID, argument, NULL, FALSE, nType);
}

void CInstallApp::ReportError2(UINT nID, LPCSTR first, LPCSTR second, UINT nType) {
    ShowReport(nID, first, second, TRUE, nType);
}
