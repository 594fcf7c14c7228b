#include "install/file_version.h"

#include "app/install_app.h"
#include "ui/resource.h"

int ReadFileVersion(const char* path, VersionTriple* version) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return FILE_VERSION_NONE;
    void* block = HeapAlloc(GetProcessHeap(), 0, size);
    if (block == NULL) return FILE_VERSION_NO_MEMORY;
    int result = FILE_VERSION_NONE;
    VS_FIXEDFILEINFO* info = NULL;
    UINT length = 0;
    if (!GetFileVersionInfoA(path, handle, size, block)) {
        // The last error of the failed read stands.
    } else if (!VerQueryValueA(block, "\\", reinterpret_cast<LPVOID*>(&info), &length) || info == NULL ||
               length < sizeof(VS_FIXEDFILEINFO)) {
        // A resource without fixed file information carries no version.
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    } else {
        version->parts[0] = HIWORD(info->dwFileVersionMS);
        version->parts[1] = LOWORD(info->dwFileVersionMS);
        version->parts[2] = HIWORD(info->dwFileVersionLS);
        result = FILE_VERSION_OK;
    }
    HeapFree(GetProcessHeap(), 0, block);
    return result;
}

int CompareVersions(const VersionTriple& first, const VersionTriple& second) {
    for (int i = 0; i < 3; ++i) {
        if (first.parts[i] != second.parts[i]) return first.parts[i] < second.parts[i] ? -1 : 1;
    }
    return 0;
}

BOOL ReadDistributionVersion(const char* path, VersionTriple* version) {
    int result = ReadFileVersion(path, version);
    if (result == FILE_VERSION_OK) return TRUE;
    if (result == FILE_VERSION_NO_MEMORY) {
        AfxMessageBox(IDS_NO_MEMORY, MB_ICONSTOP);
    } else {
        CInstallApp::ReportError(IDS_FILE_ACCESS, path, MB_ICONSTOP);
    }
    return FALSE;
}
