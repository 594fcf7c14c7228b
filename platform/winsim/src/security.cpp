// Process tokens, the shutdown privilege and ExitWindowsEx, answering from
// the machine settings. Windows 95 and 98 have no tokens.
#include <cstring>
#include <map>

#include "handles.h"
#include "winsim/faults.h"
#include "winsim/machine.h"
#include "winsim/transcript.h"

namespace winsim {
namespace {

// The one privilege the simulated system knows.
const LUID kShutdownLuid = {0x13, 0};

// Open handles to the process token, with the access each was opened for.
// The token itself, and so the enabled privilege, outlives its handles.
struct Token {
    DWORD access = 0;
};

std::map<HANDLE, Token> g_tokens;
bool g_shutdownEnabled = false;
bool g_closerSet = false;

ResetHook g_reset([] {
    g_tokens.clear();
    g_shutdownEnabled = false;
});

bool NotOnWindows9x() {
    if (IsNT()) return true;
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
}

Token* FindToken(HANDLE handle) {
    auto it = g_tokens.find(handle);
    if (it == g_tokens.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &it->second;
}

bool IsShutdown(const LUID& luid) {
    return luid.LowPart == kShutdownLuid.LowPart && luid.HighPart == kShutdownLuid.HighPart;
}

bool Fail(const char* api) {
    DWORD error;
    if (!ShouldFail(api, &error)) return false;
    SetLastError(error);
    return true;
}

}  // namespace

int OpenTokenCount() { return static_cast<int>(g_tokens.size()); }

}  // namespace winsim

extern "C" {

BOOL WINAPI OpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
    if (!winsim::NotOnWindows9x() || winsim::Fail("OpenProcessToken")) return FALSE;
    if (process != GetCurrentProcess() || token == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!winsim::settings().tokenOpenable) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!winsim::g_closerSet) {
        winsim::SetHandleCloser(winsim::HandleKind::Token, [](HANDLE h) { winsim::g_tokens.erase(h); });
        winsim::g_closerSet = true;
    }
    *token = winsim::NewHandle(winsim::HandleKind::Token);
    winsim::g_tokens[*token] = winsim::Token{access};
    return TRUE;
}

BOOL WINAPI LookupPrivilegeValueA(LPCSTR systemName, LPCSTR name, PLUID luid) {
    if (!winsim::NotOnWindows9x() || winsim::Fail("LookupPrivilegeValueA")) return FALSE;
    if (systemName != nullptr && systemName[0] != '\0') {
        SetLastError(ERROR_BAD_NETPATH);
        return FALSE;
    }
    if (name == nullptr || luid == nullptr || std::strcmp(name, SE_SHUTDOWN_NAME) != 0) {
        SetLastError(ERROR_NO_SUCH_PRIVILEGE);
        return FALSE;
    }
    *luid = winsim::kShutdownLuid;
    return TRUE;
}

BOOL WINAPI AdjustTokenPrivileges(HANDLE handle, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD bufferLength,
                                  PTOKEN_PRIVILEGES previousState, PDWORD returnLength) {
    if (!winsim::NotOnWindows9x() || winsim::Fail("AdjustTokenPrivileges")) return FALSE;
    winsim::Token* token = winsim::FindToken(handle);
    if (token == nullptr) return FALSE;
    if (!(token->access & TOKEN_ADJUST_PRIVILEGES)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const DWORD needed = sizeof(TOKEN_PRIVILEGES);
    if (previousState != nullptr) {
        if (bufferLength < needed) {
            if (returnLength) *returnLength = needed;
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        previousState->PrivilegeCount = winsim::settings().shutdownPrivilege ? 1 : 0;
        previousState->Privileges[0].Luid = winsim::kShutdownLuid;
        previousState->Privileges[0].Attributes = winsim::g_shutdownEnabled ? SE_PRIVILEGE_ENABLED : 0;
        if (returnLength) *returnLength = needed;
    }
    bool allAssigned = true;
    if (disableAll) {
        winsim::g_shutdownEnabled = false;
    } else if (newState != nullptr) {
        for (DWORD i = 0; i < newState->PrivilegeCount && i < 1; ++i) {
            const LUID_AND_ATTRIBUTES& entry = newState->Privileges[i];
            if (!winsim::IsShutdown(entry.Luid) || !winsim::settings().shutdownPrivilege) {
                allAssigned = false;
                continue;
            }
            winsim::g_shutdownEnabled = (entry.Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    // Success even when the token lacks the privilege; the last error says so.
    SetLastError(allAssigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
    return TRUE;
}

BOOL WINAPI PrivilegeCheck(HANDLE handle, PPRIVILEGE_SET required, LPBOOL result) {
    if (!winsim::NotOnWindows9x() || winsim::Fail("PrivilegeCheck")) return FALSE;
    winsim::Token* token = winsim::FindToken(handle);
    if (token == nullptr) return FALSE;
    if (!(token->access & TOKEN_QUERY) || required == nullptr || result == nullptr) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    bool all = required->Control == PRIVILEGE_SET_ALL_NECESSARY;
    bool any = false;
    bool every = true;
    for (DWORD i = 0; i < required->PrivilegeCount && i < 1; ++i) {
        LUID_AND_ATTRIBUTES& entry = required->Privilege[i];
        bool held = winsim::IsShutdown(entry.Luid) && winsim::g_shutdownEnabled;
        if (held) entry.Attributes |= 0x80000000;  // SE_PRIVILEGE_USED_FOR_ACCESS
        any = any || held;
        every = every && held;
    }
    *result = (all ? every : any) ? TRUE : FALSE;
    return TRUE;
}

BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reason) {
    (void)reason;
    if (winsim::Fail("ExitWindowsEx")) return FALSE;
    const bool logoff = (flags & (EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF)) == 0;
    if (!logoff && winsim::IsNT()) {
        // Shutting the system down needs the privilege enabled in the caller's token.
        if (!winsim::g_shutdownEnabled) {
            winsim::Record("exitwindows refused flags=" + std::to_string(flags));
            SetLastError(ERROR_PRIVILEGE_NOT_HELD);
            return FALSE;
        }
    }
    winsim::Record(std::string("exitwindows ") + (logoff ? "logoff" : (flags & EWX_REBOOT) ? "reboot" : "shutdown") +
                   " flags=" + std::to_string(flags));
    return TRUE;
}

}  // extern "C"
