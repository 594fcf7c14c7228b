// What the pilot does to the windows of another process, as a user would:
// every action goes to the window's own message queue, so the program
// handles it in its dialog loop like a click or a key press.
#pragma once

#include <windows.h>

#include <string>

namespace pilot {

// A click on the control `id` of a dialog (push button, radio button).
bool Click(HWND dialog, int id, std::string* error);

// Replaces the text of an edit box, as typing would.
bool SetText(HWND dialog, int id, const std::wstring& text, std::string* error);

// Enter or Escape pressed in the window that has the keyboard focus.
bool PressKey(HWND dialog, UINT virtualKey, std::string* error);

// The close box of the caption.
bool CloseBox(HWND window, std::string* error);

// Selects a folder in the shell's folder browser of another process: the
// path is written into that process and handed over with
// BFFM_SETSELECTIONA, which takes a pointer in the browser's own memory.
bool SelectFolder(HWND browser, DWORD processId, const std::string& ansiPath, std::string* error);

}  // namespace pilot
