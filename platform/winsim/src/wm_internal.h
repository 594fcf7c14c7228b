// The window manager's own state, shared by its modules: the window table,
// the class procedures, the message queue and the simulated user.
#pragma once

#include <string>
#include <vector>

#include "windows.h"

namespace winsim {

enum class WindowKind { Dialog, Button, Static, Edit, Progress, Plain };

struct Window {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::Plain;
    std::string className;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::string text;
    HWND parent = nullptr;  // a child's parent
    HWND owner = nullptr;   // a top-level window's owner
    std::vector<HWND> children;  // in creation (template and tab) order
    bool enabled = true;
    bool visible = false;
    bool iconic = false;
    bool needsPaint = false;
    // Frames are not drawn: a window is its client area, `client` gives its
    // size, (x, y) its top left corner, in screen coordinates for a
    // top-level window and in the parent's client area for a child.
    RECT client = {0, 0, 0, 0};
    int x = 0, y = 0;
    HWND lastActivePopup = nullptr;

    // Dialogs.
    DLGPROC dlgProc = nullptr;
    LONG_PTR msgResult = 0;
    LONG_PTR user = 0;
    bool ended = false;
    INT_PTR result = 0;
    int defaultId = 0;  // set by DM_SETDEFID; 0: the BS_DEFPUSHBUTTON control
    WORD templateId = 0;
    LANGID language = 0;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    bool opened = false;  // its opening is in the transcript: later changes are recorded

    // Buttons.
    WPARAM check = BST_UNCHECKED;
    // Icon statics.
    HICON icon = nullptr;
    // Progress bars.
    int low = 0, high = 100, pos = 0, step = 10;
};

// The window of a handle, or null when there is none (any more). Pointers
// stay valid while the window exists; re-find after a message was sent.
Window* FindWindowOf(HWND handle);
// Adds a window and returns it; children go at the end of their parent's list.
Window* AddWindow(const Window& window);
// The top-level window that holds `handle` (itself when top-level).
HWND TopLevelOf(HWND handle);
bool IsDescendant(HWND ancestor, HWND handle);
// The window's rectangle in screen coordinates, as GetWindowRect gives it.
RECT ScreenRect(const Window& window);
// "left,top,right,bottom" of the window's screen rectangle.
std::string RectText(const Window& window);
// All windows that exist, top-level and children, in creation order.
std::vector<HWND> AllWindows();

// "dialog 257", "dialog 257 control 1025", "window \"caption\"".
std::string DescribeWindow(HWND handle);
// The window in a transcript line: "dialog=257", "dialog=257 id=1025",
// "window=\"caption\"".
std::string WindowTag(HWND handle);
// The dialog that holds a window (itself or its parent), or null.
Window* DialogOf(HWND handle);
// Control ids as the program sees them: -1 for 0xFFFF.
int PrintableId(int id);

// Class procedures.
LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Whether a class name (case-insensitive) is one the manager can create:
// Button, Static, Edit, and msctls_progress32 once InitCommonControls ran.
bool ClassAvailable(const std::string& className, WindowKind* kind, std::string* canonicalName);

// Records the dialog's opening: the dialog line and one line per control.
void RecordDialogOpened(HWND dialog);
// Records a change of a dialog or control, once the dialog's opening is
// recorded: "<event> dialog=<template> [id=<control>] [<detail>]".
void RecordChange(HWND window, const std::string& event, const std::string& detail = "");
// The state words of a control line ("enabled,default,focus").
std::string ControlStates(const Window& control);

// Icons.
std::string IconName(HICON icon);  // "256", "application", "none"

// The message queue: the next message for a dialog's modal loop (posted
// messages first, then WM_PAINT), without waiting for the user.
bool NextQueuedMessage(MSG* message, HWND filter, UINT first, UINT last, bool remove);
void DropMessagesFor(HWND window);

// The simulated user.
// Matches a window that just opened against the script; false when it was
// not expected (the failure handler has run).
bool UserWindowOpened(HWND dialog);
// The modal loop of `dialog` (or, with null, any program code) waits for
// input: the user does the next step. False when nothing was done.
bool UserIdle(HWND dialog);
// A dialog window is going away: steps left for it are a failure.
void UserWindowClosing(HWND dialog);
int UserMessageBox(const std::string& caption, const std::string& text, UINT type);
// The browser: true and the folder when the user confirms one.
bool UserBrowse(const std::string& title, std::string* folder, bool onlyFileSystemFolders);
// Reports a failure of the script to the failure handler.
void UserFailure(const std::string& message);

}  // namespace winsim
