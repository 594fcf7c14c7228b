// The simulated user: the script of expected windows, the steps bound to
// each dialog that opened, and how each step reaches the program.
#include "winsim/user.h"

#include <cstdio>
#include <deque>
#include <optional>

#include "winsim/filesystem.h"
#include "winsim/machine.h"
#include "winsim/transcript.h"
#include "winsim/window_manager.h"
#include "wm_internal.h"

namespace winsim {

WindowScript& WindowScript::Add(UserAction action) {
    actions_.push_back(std::move(action));
    return *this;
}

WindowScript& WindowScript::Press(int id) {
    UserAction action;
    action.kind = UserAction::Kind::Press;
    action.id = id;
    return Add(action);
}

WindowScript& WindowScript::Click(int id) { return Press(id); }

WindowScript& WindowScript::Enter() {
    UserAction action;
    action.kind = UserAction::Kind::Enter;
    return Add(action);
}

WindowScript& WindowScript::Escape() {
    UserAction action;
    action.kind = UserAction::Kind::Escape;
    return Add(action);
}

WindowScript& WindowScript::Close() {
    UserAction action;
    action.kind = UserAction::Kind::Close;
    return Add(action);
}

WindowScript& WindowScript::Type(int id, const std::string& text) {
    UserAction action;
    action.kind = UserAction::Kind::Type;
    action.id = id;
    action.text = text;
    return Add(action);
}

WindowScript& WindowScript::Minimize(int cx, int cy) {
    UserAction action;
    action.kind = UserAction::Kind::Minimize;
    action.cx = cx;
    action.cy = cy;
    return Add(action);
}

WindowScript& WindowScript::DragIcon() {
    UserAction action;
    action.kind = UserAction::Kind::DragIcon;
    return Add(action);
}

WindowScript& WindowScript::Run(std::function<void(HWND)> code) {
    UserAction action;
    action.kind = UserAction::Kind::Run;
    action.run = std::move(code);
    return Add(action);
}

WindowScript& WindowScript::Answer(int buttonId) {
    answer_ = buttonId;
    return *this;
}

WindowScript& WindowScript::Pick(const std::string& folder) {
    folder_ = folder;
    cancelled_ = false;
    return *this;
}

WindowScript& WindowScript::Cancel() {
    cancelled_ = true;
    return *this;
}

std::string WindowScript::Describe() const {
    switch (kind_) {
        case Kind::Dialog: return "dialog " + std::to_string(templateId_);
        case Kind::MessageBox: return "a message box";
        case Kind::Browser: return "the folder browser";
    }
    return "?";
}

namespace {

// The steps left for a dialog that opened.
struct Binding {
    HWND dialog;
    std::deque<UserAction> steps;
};

std::deque<WindowScript> g_script;
std::vector<Binding> g_bindings;
DefaultResponder g_responder;
UserFailureHandler g_failureHandler;

ResetHook g_reset([] {
    g_script.clear();
    g_bindings.clear();
    g_responder = nullptr;
    g_failureHandler = nullptr;
});

std::string Describe(const OpenedWindow& window) {
    switch (window.kind) {
        case WindowScript::Kind::Dialog:
            return "dialog " + std::to_string(window.templateId) + " " + Quote(window.caption);
        case WindowScript::Kind::MessageBox: return "a message box " + Quote(window.text);
        case WindowScript::Kind::Browser: return "the folder browser " + Quote(window.text);
    }
    return "?";
}

// The script for a window that opened: the next expected window when it is
// this one, else what the default responder says.
std::optional<WindowScript> TakeScript(const OpenedWindow& opened) {
    if (!g_script.empty()) {
        const WindowScript& next = g_script.front();
        if (next.kind() == opened.kind &&
            (opened.kind != WindowScript::Kind::Dialog || next.templateId() == opened.templateId)) {
            WindowScript taken = next;
            g_script.pop_front();
            return taken;
        }
        UserFailure(Describe(opened) + " opened while the script expects " + next.Describe());
        return std::nullopt;
    }
    if (g_responder) {
        WindowScript script(opened.kind, opened.templateId);
        if (g_responder(opened, &script)) return script;
    }
    UserFailure(Describe(opened) + " opened and the script has no window left");
    return std::nullopt;
}

Binding* BindingOf(HWND dialog) {
    for (Binding& binding : g_bindings) {
        if (binding.dialog == dialog) return &binding;
    }
    return nullptr;
}

void PostKey(HWND dialog, WPARAM key) {
    HWND target = GetFocus();
    if (target == nullptr || (target != dialog && !IsDescendant(dialog, target))) target = dialog;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

// A control the user can reach: there, visible and enabled, of that kind.
HWND Reachable(HWND dialog, int id, WindowKind kind, const char* what) {
    HWND control = GetDlgItem(dialog, id);
    Window* window = FindWindowOf(control);
    std::string name = DescribeWindow(dialog) + " has no " + what + " " + std::to_string(id);
    if (window == nullptr || window->kind != kind) {
        UserFailure(name);
        return nullptr;
    }
    if (!window->visible || !window->enabled) {
        UserFailure(DescribeWindow(control) + " cannot be reached: it is hidden or disabled");
        return nullptr;
    }
    return control;
}

void Perform(HWND dialog, const UserAction& action) {
    std::string where = WindowTag(dialog);
    switch (action.kind) {
        case UserAction::Kind::Press: {
            Record("user press " + where + " id=" + std::to_string(action.id));
            if (HWND button = Reachable(dialog, action.id, WindowKind::Button, "button")) {
                SendMessageA(button, BM_CLICK, 0, 0);
            }
            break;
        }
        case UserAction::Kind::Enter:
            Record("user enter " + where);
            PostKey(dialog, VK_RETURN);
            break;
        case UserAction::Kind::Escape:
            Record("user escape " + where);
            PostKey(dialog, VK_ESCAPE);
            break;
        case UserAction::Kind::Close:
            Record("user close " + where);
            if (!(FindWindowOf(dialog)->style & WS_SYSMENU)) {
                UserFailure(DescribeWindow(dialog) + " has no close box");
            } else {
                PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            break;
        case UserAction::Kind::Type: {
            Record("user type " + where + " id=" + std::to_string(action.id) + " text=" + Quote(action.text));
            if (HWND edit = Reachable(dialog, action.id, WindowKind::Edit, "edit box")) {
                SetFocus(edit);
                SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(action.text.c_str()));
            }
            break;
        }
        case UserAction::Kind::Minimize:
            Record("user minimize " + where + " client=" + std::to_string(action.cx) + "x" + std::to_string(action.cy));
            MinimizeWindow(dialog, action.cx, action.cy);
            break;
        case UserAction::Kind::DragIcon: {
            LRESULT icon = SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0);
            Record("user dragicon " + where + " icon=" + IconName(reinterpret_cast<HICON>(icon)));
            break;
        }
        case UserAction::Kind::Run:
            if (action.run) action.run(dialog);
            break;
    }
}

bool PerformNext(Binding* binding) {
    if (binding == nullptr || binding->steps.empty()) return false;
    UserAction action = binding->steps.front();
    binding->steps.pop_front();
    Perform(binding->dialog, action);
    return true;
}

// The buttons of a message box type, and what Escape gives.
std::vector<int> Buttons(UINT type, int* escape) {
    switch (type & 0x0F) {
        case MB_OKCANCEL: *escape = IDCANCEL; return {IDOK, IDCANCEL};
        case 2: *escape = IDABORT; return {IDABORT, IDRETRY, IDIGNORE};  // MB_ABORTRETRYIGNORE
        case 3: *escape = IDCANCEL; return {IDYES, IDNO, IDCANCEL};      // MB_YESNOCANCEL
        case MB_YESNO: *escape = IDNO; return {IDYES, IDNO};
        case 5: *escape = IDCANCEL; return {IDRETRY, IDCANCEL};          // MB_RETRYCANCEL
        default: *escape = IDOK; return {IDOK};
    }
}

}  // namespace

WindowScript& ExpectDialog(WORD templateId) {
    g_script.emplace_back(WindowScript::Kind::Dialog, templateId);
    return g_script.back();
}

WindowScript& ExpectMessageBox() {
    g_script.emplace_back(WindowScript::Kind::MessageBox);
    return g_script.back();
}

WindowScript& ExpectBrowser() {
    g_script.emplace_back(WindowScript::Kind::Browser);
    return g_script.back();
}

int PendingExpectedWindows() { return static_cast<int>(g_script.size()); }

void SetDefaultResponder(DefaultResponder responder) { g_responder = std::move(responder); }

void SetUserFailureHandler(UserFailureHandler handler) { g_failureHandler = std::move(handler); }

void UserFailure(const std::string& message) {
    std::string full = "simulated user: " + message + "\ntranscript so far:\n" + TranscriptText();
    if (g_failureHandler) {
        g_failureHandler(full);
    } else {
        std::fprintf(stderr, "%s", full.c_str());
    }
}

bool UserWindowOpened(HWND dialog) {
    Window* window = FindWindowOf(dialog);
    OpenedWindow opened;
    opened.kind = WindowScript::Kind::Dialog;
    opened.templateId = window->templateId;
    opened.caption = window->text;
    std::optional<WindowScript> script = TakeScript(opened);
    if (!script) return false;
    Binding binding;
    binding.dialog = dialog;
    binding.steps.assign(script->actions().begin(), script->actions().end());
    g_bindings.push_back(std::move(binding));
    return true;
}

bool UserIdle(HWND dialog) {
    if (dialog != nullptr) {
        if (PerformNext(BindingOf(dialog))) return true;
        UserFailure(DescribeWindow(dialog) + " waits for the user and the script has no step left for it");
        EndDialog(dialog, IDCANCEL);
        return true;
    }
    // Outside a modal loop: the most recent dialog that can take input.
    for (auto it = g_bindings.rbegin(); it != g_bindings.rend(); ++it) {
        Window* window = FindWindowOf(it->dialog);
        if (window != nullptr && window->enabled && !it->steps.empty()) return PerformNext(&*it);
    }
    return false;
}

void UserWindowClosing(HWND dialog) {
    for (auto it = g_bindings.begin(); it != g_bindings.end(); ++it) {
        if (it->dialog != dialog) continue;
        std::size_t left = it->steps.size();
        g_bindings.erase(it);
        if (left > 0) {
            UserFailure(DescribeWindow(dialog) + " closes with " + std::to_string(left) + " step(s) of the script left");
        }
        return;
    }
}

int UserMessageBox(const std::string& caption, const std::string& text, UINT type) {
    OpenedWindow opened;
    opened.kind = WindowScript::Kind::MessageBox;
    opened.caption = caption;
    opened.text = text;
    opened.type = type;
    int escape = IDOK;
    std::vector<int> buttons = Buttons(type, &escape);
    std::optional<WindowScript> script = TakeScript(opened);
    if (!script) return escape;
    int answer = script->answer();
    bool offered = false;
    for (int button : buttons) offered = offered || button == answer;
    if (!offered) {
        UserFailure("the message box " + Quote(text) + " has no button " + std::to_string(answer));
        return escape;
    }
    // The answer is worth a line where the box offered a choice.
    if (buttons.size() > 1) Record("user answer " + std::to_string(answer));
    return answer;
}

bool UserBrowse(const std::string& title, std::string* folder, bool onlyFileSystemFolders) {
    OpenedWindow opened;
    opened.kind = WindowScript::Kind::Browser;
    opened.text = title;
    std::optional<WindowScript> script = TakeScript(opened);
    if (!script) return false;
    if (script->cancelled()) {
        Record("user cancel browse");
        return false;
    }
    const std::string& picked = script->folder();
    if (picked.size() >= MAX_PATH || (onlyFileSystemFolders && !DirectoryExists(picked))) {
        UserFailure("the folder browser cannot confirm " + Quote(picked) + ": no such folder on the machine");
        return false;
    }
    Record("user pick " + Quote(picked));
    *folder = picked;
    return true;
}

}  // namespace winsim
