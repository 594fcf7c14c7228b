// Inside winsim's COM: object accounting and the shell link class.
#pragma once

#include "windows.h"

namespace winsim {

bool SameGuid(const GUID& a, const GUID& b);
void ComObjectCreated();
void ComObjectDestroyed();

// True when the named call (e.g. "IShellLinkA::SetPath") must fail; then
// *result holds the HRESULT to return (the fault's error code).
bool ComFails(const char* call, HRESULT* result);

// A new shell link object with one reference.
IUnknown* NewShellLink();

}  // namespace winsim
