// The thread's last-error code (the simulated process has one thread).
#include "winsim/machine.h"

namespace {
DWORD g_lastError = 0;
winsim::ResetHook g_reset([] { g_lastError = 0; });
}  // namespace

extern "C" {
DWORD WINAPI GetLastError(void) { return g_lastError; }
void WINAPI SetLastError(DWORD code) { g_lastError = code; }
}
