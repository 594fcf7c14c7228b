// The simulated user: what a test (or an answer file) says the user does in
// each window that the program opens, in the order the windows open.
//
//   winsim::ExpectDialog(257).Press(1024).Press(IDOK);   // Browse, then Next
//   winsim::ExpectBrowser().Pick("C:\\Apps");            // the folder browser of that Browse
//   winsim::ExpectMessageBox();                          // answered OK
//
// A dialog's steps are carried out one at a time whenever the program waits
// for input while that dialog is the user's window: in the modal loop of
// DialogBoxParamA, and in PeekMessageA/GetMessageA for a modeless dialog.
// They reach the dialog as the real input would: a press as BM_CLICK sent to
// the button (which notifies its dialog with WM_COMMAND BN_CLICKED), Enter and
// Escape as WM_KEYDOWN/WM_KEYUP posted to the focus window (so the dialog
// manager's IsDialogMessageA turns them into WM_COMMAND), the close box as
// WM_SYSCOMMAND SC_CLOSE posted to the dialog, typing as focus to the edit
// control and WM_SETTEXT. Message boxes and the folder browser are answered
// at once.
//
// Failures: a window that opens while the script expects another kind or
// template, or when no step is left, and a modal dialog that waits for input
// after its last step, call the failure handler with a description and the
// transcript so far. Then an unexpected dialog is ended with IDCANCEL, a
// stuck one too, an unexpected message box gets the answer of Escape (IDOK
// for MB_OK), an unexpected browser is cancelled. The default handler prints
// to stderr; tests install one that fails the test.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "../windows.h"

namespace winsim {

// One thing the user does in a dialog.
struct UserAction {
    enum class Kind { Press, Enter, Escape, Close, Type, Minimize, DragIcon, Run };
    Kind kind = Kind::Press;
    int id = 0;                       // Press, Type: the control
    std::string text;                 // Type
    int cx = 0, cy = 0;               // Minimize: the client area while minimised
    std::function<void(HWND)> run;    // Run: called with the dialog's window
};

// What the user does in one window.
class WindowScript {
public:
    enum class Kind { Dialog, MessageBox, Browser };

    explicit WindowScript(Kind kind, WORD templateId = 0) : kind_(kind), templateId_(templateId) {}

    // Dialogs.
    WindowScript& Press(int id);   // a push button (or any button) by id
    WindowScript& Click(int id);   // a radio button by id; delivered as Press
    WindowScript& Enter();
    WindowScript& Escape();
    WindowScript& Close();         // the close box of the caption
    WindowScript& Type(int id, const std::string& text);  // replaces an edit box's text
    // Minimises the dialog with this client area; it is painted at the next
    // wait for input.
    WindowScript& Minimize(int cx, int cy);
    // Drags the minimised dialog: sends WM_QUERYDRAGICON and records the answer.
    WindowScript& DragIcon();
    // Runs test code with the dialog's window (to look at it, or to put it in
    // a state no user could produce).
    WindowScript& Run(std::function<void(HWND)> code);

    // Message boxes: the button the user presses (IDOK unless told).
    WindowScript& Answer(int buttonId);

    // The folder browser: the folder confirmed, or cancel.
    WindowScript& Pick(const std::string& folder);
    WindowScript& Cancel();

    Kind kind() const { return kind_; }
    WORD templateId() const { return templateId_; }
    const std::vector<UserAction>& actions() const { return actions_; }
    int answer() const { return answer_; }
    bool cancelled() const { return cancelled_; }
    const std::string& folder() const { return folder_; }
    std::string Describe() const;  // "dialog 257", "message box", "folder browser"

private:
    WindowScript& Add(UserAction action);

    Kind kind_;
    WORD templateId_;
    std::vector<UserAction> actions_;
    int answer_ = IDOK;
    bool cancelled_ = true;  // a browser without a pick cancels
    std::string folder_;
};

// Appends the next expected window to the script and returns it to be filled.
WindowScript& ExpectDialog(WORD templateId);
WindowScript& ExpectMessageBox();
WindowScript& ExpectBrowser();

// Expected windows that have not opened yet.
int PendingExpectedWindows();

// The window about to be answered when the script has nothing for it.
struct OpenedWindow {
    WindowScript::Kind kind = WindowScript::Kind::Dialog;
    WORD templateId = 0;  // dialogs
    std::string caption;
    std::string text;     // message boxes: the message; browser: the title
    UINT type = 0;        // message boxes: MB_ flags
};
// Fills `script` for a window that the script does not cover and returns
// true, or returns false to let the window fail. Used by install-sim to
// answer every window with its default.
using DefaultResponder = std::function<bool(const OpenedWindow& window, WindowScript* script)>;
void SetDefaultResponder(DefaultResponder responder);

// Called with a description of the mismatch and the transcript.
using UserFailureHandler = std::function<void(const std::string& message)>;
void SetUserFailureHandler(UserFailureHandler handler);

// Reset() empties the script, removes the responder and restores the
// default failure handler.

}  // namespace winsim
