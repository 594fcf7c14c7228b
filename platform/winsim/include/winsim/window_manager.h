// The simulated window manager as a test sets it up and inspects it.
#pragma once

#include <string>

#include "../windows.h"

namespace winsim {

// A visible, enabled top-level window that stands for some other program's
// window (an owner for the program's dialogs).
HWND CreateTestWindow(const std::string& caption);

// Minimises the window (IsIconic becomes TRUE) with the given client area,
// and marks it for painting at the next wait for input.
void MinimizeWindow(HWND window, int clientWidth, int clientHeight);

// The most recently created dialog of that template that still exists, or
// NULL.
HWND FindDialog(WORD templateId);

// Windows that exist, controls included.
int LiveWindowCount();

// Whether InitCommonControls registered the progress bar class.
bool CommonControlsRegistered();

}  // namespace winsim
