// COM start-up and object creation: the shell link object is the one class
// the simulated system serves.
#include <cstring>

#include "com_internal.h"
#include "shlobj.h"
#include "winsim/faults.h"
#include "winsim/machine.h"
#include "winsim/shell.h"

extern "C" {
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
}

namespace winsim {
namespace {

int g_initializeDepth = 0;
int g_liveObjects = 0;

ResetHook g_reset([] {
    g_initializeDepth = 0;
    g_liveObjects = 0;
});

}  // namespace

bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

void ComObjectCreated() { ++g_liveObjects; }
void ComObjectDestroyed() { --g_liveObjects; }

int LiveComObjects() { return g_liveObjects; }
int ComInitializeDepth() { return g_initializeDepth; }

bool ComFails(const char* call, HRESULT* result) {
    DWORD error;
    if (!ShouldFail(call, &error)) return false;
    *result = static_cast<HRESULT>(error);
    return true;
}

}  // namespace winsim

extern "C" {

HRESULT WINAPI CoInitialize(LPVOID reserved) {
    (void)reserved;
    HRESULT failure;
    if (winsim::ComFails("CoInitialize", &failure)) return failure;
    return winsim::g_initializeDepth++ == 0 ? S_OK : S_FALSE;
}

void WINAPI CoUninitialize(void) {
    if (winsim::g_initializeDepth > 0) --winsim::g_initializeDepth;
}

HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (winsim::g_initializeDepth == 0) return CO_E_NOTINITIALIZED;
    HRESULT failure;
    if (winsim::ComFails("CoCreateInstance", &failure)) return failure;
    if (outer != nullptr) return static_cast<HRESULT>(0x80040110);  // CLASS_E_NOAGGREGATION
    if (!winsim::SameGuid(clsid, CLSID_ShellLink) || !(context & CLSCTX_INPROC_SERVER)) {
        return REGDB_E_CLASSNOTREG;
    }
    IUnknown* link = winsim::NewShellLink();
    HRESULT result = link->QueryInterface(iid, object);
    link->Release();
    return result;
}

}  // extern "C"
