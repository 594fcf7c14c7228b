#include "register/create_shortcut.h"

#include <shlobj.h>

namespace {

HRESULT DescribeAndSave(IShellLinkA* link, IPersistFile* file, LPCSTR targetPath, LPCSTR linkPath,
                        LPCSTR description, LPCSTR arguments, LPCSTR iconPath, int iconIndex) {
    HRESULT hr = link->SetPath(targetPath);
    if (FAILED(hr)) return hr;
    hr = link->SetDescription(description);
    if (FAILED(hr)) return hr;
    hr = link->SetArguments(arguments);
    if (FAILED(hr)) return hr;
    if (iconPath[0] != '\0') {
        hr = link->SetIconLocation(iconPath, iconIndex);
        if (FAILED(hr)) return hr;
    }
    hr = link->SetShowCmd(SW_SHOWNORMAL);
    if (FAILED(hr)) return hr;
    WCHAR widePath[MAX_PATH];
    widePath[0] = 0;
    MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH);
    widePath[MAX_PATH - 1] = 0;
    return file->Save(widePath, TRUE);
}

}  // namespace

HRESULT CreateShortcut(LPCSTR targetPath, LPCSTR linkPath, LPCSTR description, LPCSTR arguments,
                       LPCSTR iconPath, int iconIndex) {
    CoInitialize(NULL);
    IShellLinkA* link = NULL;
    IPersistFile* file = NULL;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr)) hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr)) {
        hr = DescribeAndSave(link, file, targetPath, linkPath, description, arguments, iconPath, iconIndex);
    }
    if (file != NULL) file->Release();
    if (link != NULL) link->Release();
    CoUninitialize();
    return SUCCEEDED(hr) ? S_OK : hr;
}
