// The running module: its handle and its file name.
#include <cstring>

#include "winsim/machine.h"
#include "winsim/resources.h"

extern "C" {

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName == nullptr) return winsim::ModuleInstance();
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (module != nullptr && module != winsim::ModuleInstance()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (size == 0) return 0;
    const std::string& path = winsim::settings().modulePath;
    // A path that does not fit is cut and terminated, and the size is
    // returned with ERROR_INSUFFICIENT_BUFFER.
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

}  // extern "C"
