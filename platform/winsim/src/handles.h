// Kernel object handles of the simulated process: one number space for
// files, tokens and whatever else CloseHandle closes.
#pragma once

#include <functional>

#include "windows.h"

namespace winsim {

enum class HandleKind { File, Token };

HANDLE NewHandle(HandleKind kind);
void ReleaseHandle(HANDLE handle);
bool IsHandleOf(HANDLE handle, HandleKind kind);

// Each kind other than files registers how CloseHandle closes its handles.
void SetHandleCloser(HandleKind kind, std::function<void(HANDLE)> closer);
// Closes a non-file handle; false when the handle is unknown.
bool CloseOtherHandle(HANDLE handle);

}  // namespace winsim
