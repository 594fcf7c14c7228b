// Window calls before the window manager exists: there are no windows.
#include "windows.h"
#include "commctrl.h"

extern "C" {
BOOL WINAPI DestroyWindow(HWND) { SetLastError(ERROR_INVALID_WINDOW_HANDLE); return FALSE; }
HWND WINAPI GetLastActivePopup(HWND hWnd) { return hWnd; }
BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) { msg->message = WM_QUIT; msg->wParam = 0; return FALSE; }
BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }
LRESULT WINAPI DispatchMessageA(const MSG*) { return 0; }
void WINAPI InitCommonControls(void) {}
}
