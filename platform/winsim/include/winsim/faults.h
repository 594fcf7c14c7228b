// Faults on demand: a test arms a named API so that some of its next calls
// fail, with the last-error code it chooses.
#pragma once

#include <string>

#include "../windows.h"

namespace winsim {

// The call numbered skip+1 after arming, and the `times - 1` after it, fail
// with `error` (times < 0: every call from then on). The name is the API's
// own ("GlobalAlloc", "CopyFileA", "WriteFile" ...).
void FailCall(const std::string& api, DWORD error, int skip = 0, int times = 1);
void ClearFaults();

// For winsim's own functions: true when this call of `api` must fail; then
// `*error` holds the code to set.
bool ShouldFail(const char* api, DWORD* error);

// How often each API was called since the last reset.
int CallCount(const std::string& api);

}  // namespace winsim
