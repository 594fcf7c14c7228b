#include "app/install_app.h"
#include "register/path_text.h"
#include "register/search_path.h"
#include "ui/resource.h"
#include "util/reg_path.h"

namespace {

const char kEnvironmentKey[] = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char kPathValue[] = "Path";
const DWORD kPathBufferSize = 8192;

}  // namespace

BOOL UpdateNtPath(InstallContext& context) {
    char value[kPathBufferSize];
    DWORD type = REG_SZ;
    DWORD size = sizeof(value);
    LONG status = RegReadPath(HKEY_LOCAL_MACHINE, kEnvironmentKey, kPathValue, &type,
                              reinterpret_cast<BYTE*>(value), &size);
    // The value is written back with the type it has; anything but a
    // string cannot be extended.
    if (status == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) status = ERROR_INVALID_DATA;
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        CInstallApp::ReportError(IDS_KEY_ACCESS, kEnvironmentKey, MB_ICONSTOP);
        return FALSE;
    }

    int length = lstrlenA(value);
    if (PathValueHolds(value, length, context.destDir)) return TRUE;

    context.pathChanged = TRUE;
    if (length > 0 && value[length - 1] == ';') --length;
    const int newSize = length + context.destDirLength + 2;
    char* newValue = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(newSize)));
    if (newValue == NULL) return TRUE;
    lstrcpynA(newValue, value, length + 1);
    newValue[length] = ';';
    lstrcpynA(newValue + length + 1, context.destDir, context.destDirLength + 1);
    RegWritePath(HKEY_LOCAL_MACHINE, kEnvironmentKey, kPathValue, type, reinterpret_cast<const BYTE*>(newValue),
                 static_cast<DWORD>(newSize));
    HeapFree(GetProcessHeap(), 0, newValue);
    return TRUE;
}
