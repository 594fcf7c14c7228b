// The registry calls of ADVAPI32 over the simulated key tree, and the key
// handles they hand out.
//
// How a sub-key name is read: levels separated by backslashes, empty levels
// (a doubled or trailing backslash) skipped, a leading backslash refused
// with ERROR_BAD_PATHNAME; NULL or "" names the key itself, so the call opens
// a new handle to it. Only the key finally opened is checked against its
// denial, as Windows NT passes over the keys traversed on the way; a key
// that must be created needs create rights on its parent: through the
// handle's own access when the parent is the handle's key, and in any case
// a parent that no denial closes.
#include <cstring>
#include <map>

#include "registry_tree.h"
#include "winsim/faults.h"
#include "winsim/machine.h"
#include "winsim/registry.h"

namespace winsim {
namespace {

using reg::Key;

struct OpenKey {
    std::shared_ptr<Key> key;
    REGSAM access = 0;
};

std::map<HKEY, OpenKey> g_handles;
LONG_PTR g_nextHandle = 0x40000;

ResetHook g_reset([] {
    g_handles.clear();
    g_nextHandle = 0x40000;
});

bool Fault(const char* api, LONG* result) {
    DWORD error;
    if (!ShouldFail(api, &error)) return false;
    *result = static_cast<LONG>(error);
    return true;
}

// The key and access behind a handle; a predefined key grants what no
// denial refuses.
LONG Resolve(HKEY handle, OpenKey* open) {
    std::shared_ptr<Key> predefined = reg::PredefinedKey(handle);
    if (predefined) {
        open->key = predefined;
        reg::Denial denial = reg::DenialOf(reg::FullName(*predefined));
        open->access = denial == reg::Denial::All     ? 0
                       : denial == reg::Denial::Write ? (KEY_ALL_ACCESS & ~reg::kWriteRights)
                                                      : KEY_ALL_ACCESS;
        return ERROR_SUCCESS;
    }
    auto it = g_handles.find(handle);
    if (it == g_handles.end()) return ERROR_INVALID_HANDLE;
    if (it->second.key->deleted) return ERROR_KEY_DELETED;
    *open = it->second;
    return ERROR_SUCCESS;
}

LONG SplitSubKey(LPCSTR subKey, std::vector<std::string>* levels) {
    levels->clear();
    if (subKey == nullptr) return ERROR_SUCCESS;
    if (subKey[0] == '\\') return ERROR_BAD_PATHNAME;
    std::string level;
    for (const char* p = subKey;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (!level.empty()) levels->push_back(level);
            level.clear();
            if (*p == '\0') break;
        } else {
            level += *p;
        }
    }
    return ERROR_SUCCESS;
}

HKEY NewKeyHandle(const std::shared_ptr<Key>& key, REGSAM access) {
    HKEY handle = reinterpret_cast<HKEY>(g_nextHandle);
    g_nextHandle += 4;
    g_handles[handle] = OpenKey{key, access};
    return handle;
}

std::string Child(const std::string& fullName, const std::string& name) {
    return fullName + "\\" + name;
}

}  // namespace

int OpenKeyHandleCount() { return static_cast<int>(g_handles.size()); }

}  // namespace winsim

using winsim::OpenKey;
using winsim::reg::Key;
namespace reg = winsim::reg;

extern "C" {

LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                          PHKEY phkResult) {
    (void)ulOptions;
    LONG result;
    if (winsim::Fault("RegOpenKeyExA", &result)) return result;
    if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey parent;
    if ((result = winsim::Resolve(hKey, &parent)) != ERROR_SUCCESS) return result;
    std::vector<std::string> levels;
    if ((result = winsim::SplitSubKey(lpSubKey, &levels)) != ERROR_SUCCESS) return result;
    Key* key = parent.key.get();
    for (const auto& level : levels) {
        key = reg::FindSubKey(*key, level);
        if (key == nullptr) return ERROR_FILE_NOT_FOUND;
    }
    if (reg::Refuses(reg::DenialOf(reg::FullName(*key)), samDesired)) return ERROR_ACCESS_DENIED;
    *phkResult = winsim::NewKeyHandle(reg::SharedKey(*key), samDesired);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR lpClass,
                            DWORD dwOptions, REGSAM samDesired,
                            struct _SECURITY_ATTRIBUTES* lpSecurityAttributes, PHKEY phkResult,
                            LPDWORD lpdwDisposition) {
    (void)Reserved;
    (void)lpClass;
    (void)dwOptions;
    (void)lpSecurityAttributes;
    LONG result;
    if (winsim::Fault("RegCreateKeyExA", &result)) return result;
    if (phkResult == nullptr || lpSubKey == nullptr) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenKey parent;
    if ((result = winsim::Resolve(hKey, &parent)) != ERROR_SUCCESS) return result;
    std::vector<std::string> levels;
    if ((result = winsim::SplitSubKey(lpSubKey, &levels)) != ERROR_SUCCESS) return result;

    // The levels that exist, then a check of every key still to create, so
    // that a refused call creates nothing.
    Key* key = parent.key.get();
    size_t existing = 0;
    while (existing < levels.size()) {
        Key* sub = reg::FindSubKey(*key, levels[existing]);
        if (sub == nullptr) break;
        key = sub;
        ++existing;
    }
    std::string name = reg::FullName(*key);
    if (existing < levels.size()) {
        if (existing == 0 && (parent.access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
        for (size_t i = existing; i < levels.size(); ++i) {
            if (reg::Refuses(reg::DenialOf(name), KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
            name = winsim::Child(name, levels[i]);
        }
    }
    if (reg::Refuses(reg::DenialOf(name), samDesired)) return ERROR_ACCESS_DENIED;

    for (size_t i = existing; i < levels.size(); ++i) key = &reg::AddSubKey(*key, levels[i]);
    if (lpdwDisposition != nullptr) {
        *lpdwDisposition = existing < levels.size() ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    *phkResult = winsim::NewKeyHandle(reg::SharedKey(*key), samDesired);
    return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                             LPBYTE lpData, LPDWORD lpcbData) {
    LONG result;
    if (winsim::Fault("RegQueryValueExA", &result)) return result;
    OpenKey open;
    if ((result = winsim::Resolve(hKey, &open)) != ERROR_SUCCESS) return result;
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    if ((open.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    const winsim::RegValue* value = reg::FindValue(*open.key, lpValueName ? lpValueName : "");
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    if (lpType != nullptr) *lpType = value->type;
    if (lpcbData == nullptr) return ERROR_SUCCESS;
    DWORD size = static_cast<DWORD>(value->data.size());
    if (lpData != nullptr) {
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (size > 0) std::memcpy(lpData, value->data.data(), size);
    }
    *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType,
                           const BYTE* lpData, DWORD cbData) {
    (void)Reserved;
    LONG result;
    if (winsim::Fault("RegSetValueExA", &result)) return result;
    OpenKey open;
    if ((result = winsim::Resolve(hKey, &open)) != ERROR_SUCCESS) return result;
    if (lpData == nullptr && cbData != 0) return ERROR_INVALID_PARAMETER;
    if ((open.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    winsim::RegValue value;
    value.type = dwType;
    if (cbData > 0) value.data.assign(reinterpret_cast<const char*>(lpData), cbData);
    reg::SetValue(*open.key, lpValueName ? lpValueName : "", value);
    return ERROR_SUCCESS;
}

LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    LONG result;
    if (winsim::Fault("RegDeleteValueA", &result)) return result;
    OpenKey open;
    if ((result = winsim::Resolve(hKey, &open)) != ERROR_SUCCESS) return result;
    if ((open.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    return reg::DeleteValue(*open.key, lpValueName ? lpValueName : "") ? ERROR_SUCCESS
                                                                       : ERROR_FILE_NOT_FOUND;
}

LONG WINAPI RegCloseKey(HKEY hKey) {
    LONG result;
    if (winsim::Fault("RegCloseKey", &result)) return result;
    // Closing a predefined key is allowed and changes nothing.
    if (hKey == HKEY_LOCAL_MACHINE || hKey == HKEY_CURRENT_USER || hKey == HKEY_CLASSES_ROOT ||
        hKey == HKEY_USERS) {
        return ERROR_SUCCESS;
    }
    return winsim::g_handles.erase(hKey) > 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // extern "C"
