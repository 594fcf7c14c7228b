// Icons from the module's resources and the system's, the system metrics
// the program asks for, and painting (recorded, since nothing is drawn).
#include <map>

#include "winsim/machine.h"
#include "winsim/resources.h"
#include "winsim/transcript.h"
#include "wm_internal.h"

namespace winsim {
namespace {

// One handle per icon, however often it is loaded, as LoadIconA gives the
// handle of an icon already loaded.
std::map<std::string, HICON> g_iconsByName;
std::map<HICON, std::string> g_iconNames;
ULONG_PTR g_nextIcon = 0x7000;
std::map<HDC, HWND> g_paintingDcs;
ULONG_PTR g_nextDc = 0x9000;

ResetHook g_reset([] {
    g_iconsByName.clear();
    g_iconNames.clear();
    g_paintingDcs.clear();
});

HICON IconFor(const std::string& name) {
    auto it = g_iconsByName.find(name);
    if (it != g_iconsByName.end()) return it->second;
    g_nextIcon += 4;
    HICON icon = reinterpret_cast<HICON>(g_nextIcon);
    g_iconsByName[name] = icon;
    g_iconNames[icon] = name;
    return icon;
}

std::string ResourceName(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return std::to_string(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
    return name;
}

}  // namespace

std::string IconName(HICON icon) {
    if (icon == nullptr) return "none";
    auto it = g_iconNames.find(icon);
    return it == g_iconNames.end() ? "unknown" : it->second;
}

}  // namespace winsim

extern "C" {

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    if (hInstance == nullptr) {
        // The system's icons.
        static const char* const kSystemIcons[] = {"application", "hand", "question", "exclamation", "asterisk",
                                                   "winlogo"};
        ULONG_PTR id = reinterpret_cast<ULONG_PTR>(lpIconName);
        if (IS_INTRESOURCE(lpIconName) && id >= 32512 && id <= 32517) return winsim::IconFor(kSystemIcons[id - 32512]);
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (hInstance != winsim::ModuleInstance()) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    winsim::FoundResource group = winsim::FindModuleResource(RT_GROUP_ICON, lpIconName, winsim::settings().language);
    // An icon directory: reserved, type 1, and at least one image.
    if (!group.found || group.size < 6 || group.data[2] != 1 || (group.data[4] | group.data[5]) == 0) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return winsim::IconFor(winsim::ResourceName(lpIconName));
}

int WINAPI GetSystemMetrics(int nIndex) {
    switch (nIndex) {
        case SM_CXSCREEN: return winsim::settings().screenWidth;
        case SM_CYSCREEN: return winsim::settings().screenHeight;
        case SM_CXICON:
        case SM_CYICON: return 32;
        case SM_CXSMICON:
        case SM_CYSMICON: return 16;
        default: return 0;
    }
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    winsim::Window* window = winsim::FindWindowOf(hWnd);
    if (window == nullptr || lpPaint == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    winsim::g_nextDc += 4;
    HDC dc = reinterpret_cast<HDC>(winsim::g_nextDc);
    winsim::g_paintingDcs[dc] = hWnd;
    window->needsPaint = false;
    *lpPaint = PAINTSTRUCT();
    lpPaint->hdc = dc;
    lpPaint->fErase = TRUE;
    lpPaint->rcPaint = window->client;
    winsim::Record("paint begin " + winsim::WindowTag(hWnd));
    return dc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (lpPaint == nullptr || winsim::g_paintingDcs.erase(lpPaint->hdc) == 0) return FALSE;
    winsim::Record("paint end " + winsim::WindowTag(hWnd));
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    auto it = winsim::g_paintingDcs.find(hDC);
    if (it == winsim::g_paintingDcs.end() || hIcon == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    winsim::Record("drawicon " + winsim::WindowTag(it->second) + " x=" + std::to_string(X) +
                   " y=" + std::to_string(Y) + " icon=" + winsim::IconName(hIcon));
    return TRUE;
}

}  // extern "C"
