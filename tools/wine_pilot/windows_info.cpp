#include "windows_info.h"

#include <commctrl.h>

namespace pilot {
namespace {

const UINT kTimeoutMs = 3000;
bool g_messagesAllowed = true;

struct EnumState {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    EnumState* state = reinterpret_cast<EnumState*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == state->processId && IsWindowVisible(window)) state->windows.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM param) {
    std::vector<HWND>* children = reinterpret_cast<std::vector<HWND>*>(param);
    children->push_back(window);
    return TRUE;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_messagesAllowed) return 0;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kTimeoutMs, &result)) return 0;
    return static_cast<LRESULT>(result);
}

Json Rect(const RECT& rect) {
    Json json = Json::Array();
    json.Add(rect.left).Add(rect.top).Add(rect.right).Add(rect.bottom);
    return json;
}

// The kind of control a window class and style make.
std::string ControlType(const std::wstring& className, LONG style) {
    if (lstrcmpiW(className.c_str(), L"Button") == 0) {
        switch (style & 0x0F) {
            case BS_PUSHBUTTON: return "push";
            case BS_DEFPUSHBUTTON: return "defpush";
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX: return "check";
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON: return "radio";
            case BS_GROUPBOX: return "group";
            default: return "button";
        }
    }
    if (lstrcmpiW(className.c_str(), L"Static") == 0) {
        return (style & SS_TYPEMASK) == SS_ICON ? "icon" : "text";
    }
    if (lstrcmpiW(className.c_str(), L"Edit") == 0) return "edit";
    if (lstrcmpiW(className.c_str(), L"msctls_progress32") == 0) return "progress";
    if (lstrcmpiW(className.c_str(), L"SysTreeView32") == 0) return "tree";
    return "other";
}

}  // namespace

void SetMessagesAllowed(bool allowed) { g_messagesAllowed = allowed; }

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) {
    EnumState state = {processId, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return state.windows;
}

std::wstring WindowText(HWND window) {
    if (!g_messagesAllowed) {
        wchar_t kept[1024] = {};
        InternalGetWindowText(window, kept, 1024);
        return kept;
    }
    const LRESULT length = Send(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 2, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             kTimeoutMs, &copied)) {
        // A window whose thread does not answer: the text the system keeps.
        copied = static_cast<DWORD_PTR>(InternalGetWindowText(window, &text[0], static_cast<int>(text.size())));
    }
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::string IconKind(HWND control) {
    RECT rect;
    if (!GetWindowRect(control, &rect)) return "blank";
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return "blank";

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();

    int red = 0, blue = 0, colored = 0;
    const unsigned char* pixel = static_cast<const unsigned char*>(bits);
    for (int i = 0; bits != nullptr && i < width * height; ++i, pixel += 4) {
        const int b = pixel[0], g = pixel[1], r = pixel[2];
        if (r > 150 && g < 110 && b < 110) ++red;
        if (b > 150 && r < 120) ++blue;
        const int high = r > g ? (r > b ? r : b) : (g > b ? g : b);
        const int low = r < g ? (r < b ? r : b) : (g < b ? g : b);
        if (high - low > 60) ++colored;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    const int area = width * height;
    if (colored * 20 < area) return "blank";
    if (red * 8 > area && red > blue * 2) return "stop";
    if (blue * 8 > area && blue > red * 2) return "information";
    return "other";
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

Json DescribeWindow(HWND window) {
    Json json = Json::Object();
    json.Field("hwnd", static_cast<long long>(reinterpret_cast<UINT_PTR>(window)));
    if (!IsWindow(window)) {
        json.Field("gone", true);
        return json;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    HWND owner = GetWindow(window, GW_OWNER);
    json.Field("class", ClassName(window))
        .Field("caption", WindowText(window))
        .Field("owner", static_cast<long long>(reinterpret_cast<UINT_PTR>(owner)))
        .Field("visible", IsWindowVisible(window) != FALSE)
        .Field("enabled", IsWindowEnabled(window) != FALSE)
        .Field("foreground", GetForegroundWindow() == window)
        .Field("style", static_cast<long long>(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE))))
        .FieldRaw("rect", Rect(rect));
    const LRESULT defId = Send(window, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) == DC_HASDEFID) json.Field("defid", static_cast<long long>(LOWORD(defId)));

    HWND focus = FocusOf(window);
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChildren, reinterpret_cast<LPARAM>(&children));
    Json controls = Json::Array();
    for (HWND child : children) {
        if (GetParent(child) != window) continue;  // controls of controls (a tree's edit box ...)
        const std::wstring className = ClassName(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const std::string type = ControlType(className, style);
        RECT place;
        GetWindowRect(child, &place);
        Json control = Json::Object();
        control.Field("id", static_cast<long long>(GetDlgCtrlID(child)))
            .Field("class", className)
            .Field("type", type)
            .Field("text", WindowText(child))
            .Field("visible", IsWindowVisible(child) != FALSE)
            .Field("enabled", IsWindowEnabled(child) != FALSE)
            .Field("focus", child == focus)
            .Field("style", static_cast<long long>(static_cast<DWORD>(style)))
            .FieldRaw("rect", Rect(place));
        if ((type == "radio" || type == "check") && g_messagesAllowed) {
            control.Field("checked", static_cast<long long>(Send(child, BM_GETCHECK, 0, 0)));
        }
        if (type == "defpush" || type == "push") control.Field("default", type == "defpush");
        if (type == "icon") control.Field("icon", IconKind(child));
        if (type == "progress" && g_messagesAllowed) {
            control.Field("pos", static_cast<long long>(Send(child, PBM_GETPOS, 0, 0)));
            control.Field("max", static_cast<long long>(Send(child, PBM_GETRANGE, FALSE, 0)));
        }
        controls.AddRaw(control);
    }
    json.FieldRaw("controls", controls);
    return json;
}

}  // namespace pilot
