// The handle number space.
#include "handles.h"

#include <map>

#include "winsim/machine.h"

namespace winsim {
namespace {

std::map<HANDLE, HandleKind> g_handles;
std::map<HandleKind, std::function<void(HANDLE)>> g_closers;
LONG_PTR g_next = 0x100;

ResetHook g_reset([] {
    g_handles.clear();
    g_next = 0x100;
});

}  // namespace

HANDLE NewHandle(HandleKind kind) {
    HANDLE handle = reinterpret_cast<HANDLE>(g_next);
    g_next += 4;
    g_handles[handle] = kind;
    return handle;
}

void ReleaseHandle(HANDLE handle) { g_handles.erase(handle); }

bool IsHandleOf(HANDLE handle, HandleKind kind) {
    auto it = g_handles.find(handle);
    return it != g_handles.end() && it->second == kind;
}

void SetHandleCloser(HandleKind kind, std::function<void(HANDLE)> closer) {
    g_closers[kind] = std::move(closer);
}

bool CloseOtherHandle(HANDLE handle) {
    auto it = g_handles.find(handle);
    if (it == g_handles.end() || it->second == HandleKind::File) return false;
    auto closer = g_closers.find(it->second);
    if (closer != g_closers.end()) closer->second(handle);
    g_handles.erase(it);
    return true;
}

}  // namespace winsim
