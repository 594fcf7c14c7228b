// What the pilot reads from the windows of another process: the top-level
// windows it shows and, for each, its caption, owner, place, controls
// (class, id, text, states) and the kind of icon it displays.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "json.h"

namespace pilot {

// While the program's thread is suspended nothing may be sent to its
// windows: texts then come from what the system keeps, and states that
// only a message tells (checked buttons, progress) are left out.
void SetMessagesAllowed(bool allowed);

// Visible top-level windows of a process, in Z order.
std::vector<HWND> VisibleTopLevelWindows(DWORD processId);

// The text of a window of any process (WM_GETTEXT, which also reaches
// edit boxes).
std::wstring WindowText(HWND window);

std::wstring ClassName(HWND window);

// "stop", "information", "other" or "blank", from the pixels on the
// screen where the icon control stands: the stop sign is red, the
// information sign blue.
std::string IconKind(HWND control);

// One window and all its controls, as the pilot reports it.
Json DescribeWindow(HWND window);

// The id of the control that has the keyboard focus in the window's
// thread, 0 when none.
HWND FocusOf(HWND window);

}  // namespace pilot
