#include "readers.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <vector>

namespace pilot {
namespace {

std::string Hresult(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lx", static_cast<unsigned long>(result));
    return text;
}

// The show command of a Shell Link file: a 32-bit value at offset 0x3C of
// its header.
long long ShowCommandInFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    unsigned char header[0x40] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, header, sizeof(header), &read, nullptr);
    CloseHandle(file);
    if (!ok || read < sizeof(header)) return -1;
    return header[0x3C] | (header[0x3D] << 8) | (header[0x3E] << 16) | (static_cast<long long>(header[0x3F]) << 24);
}

bool RootKey(const std::string& name, HKEY* root) {
    if (name == "HKLM") *root = HKEY_LOCAL_MACHINE;
    else if (name == "HKCU") *root = HKEY_CURRENT_USER;
    else if (name == "HKCR") *root = HKEY_CLASSES_ROOT;
    else return false;
    return true;
}

const char* TypeName(DWORD type) {
    switch (type) {
        case REG_SZ: return "REG_SZ";
        case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
        case REG_MULTI_SZ: return "REG_MULTI_SZ";
        case REG_DWORD: return "REG_DWORD";
        case REG_BINARY: return "REG_BINARY";
        default: return "other";
    }
}

}  // namespace

Json ReadShellLink(const std::wstring& path) {
    Json json = Json::Object();
    json.Field("file", path);
    HRESULT result = CoInitialize(nullptr);
    const bool initialised = SUCCEEDED(result);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result)) result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) result = file->Load(path.c_str(), STGM_READ);
    if (SUCCEEDED(result)) {
        char text[1024];
        text[0] = '\0';
        link->GetPath(text, sizeof(text), nullptr, SLGP_RAWPATH);
        json.Field("path", Utf8FromAnsi(text));
        text[0] = '\0';
        link->GetArguments(text, sizeof(text));
        json.Field("arguments", Utf8FromAnsi(text));
        text[0] = '\0';
        link->GetDescription(text, sizeof(text));
        json.Field("description", Utf8FromAnsi(text));
        text[0] = '\0';
        link->GetWorkingDirectory(text, sizeof(text));
        json.Field("workdir", Utf8FromAnsi(text));
        int iconIndex = 0;
        text[0] = '\0';
        link->GetIconLocation(text, sizeof(text), &iconIndex);
        json.Field("icon", Utf8FromAnsi(text)).Field("icon_index", static_cast<long long>(iconIndex));
        WORD hotkey = 0;
        link->GetHotkey(&hotkey);
        json.Field("hotkey", static_cast<long long>(hotkey));
        json.Field("show", ShowCommandInFile(path));
    } else {
        json.Field("error", Hresult(result));
    }
    if (file != nullptr) file->Release();
    if (link != nullptr) link->Release();
    if (initialised) CoUninitialize();
    return json;
}

Json ReadShellLinks(const std::wstring& folder) {
    Json links = Json::Array();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.lnk").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return links;
    std::vector<std::wstring> names;
    do {
        names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& name : names) {
        Json link = ReadShellLink(folder + L"\\" + name);
        link.Field("name", name);
        links.AddRaw(link);
    }
    return links;
}

Json ReadRegistryValue(const std::string& root, const std::wstring& key, const std::wstring& value) {
    Json json = Json::Object();
    HKEY rootKey;
    if (!RootKey(root, &rootKey)) return json.Field("error", "unknown root " + root);
    HKEY opened;
    LONG status = RegOpenKeyExW(rootKey, key.c_str(), 0, KEY_READ, &opened);
    if (status != ERROR_SUCCESS) return json.Field("missing", "key").Field("status", static_cast<long long>(status));
    DWORD type = 0;
    DWORD size = 0;
    status = RegQueryValueExW(opened, value.empty() ? nullptr : value.c_str(), nullptr, &type, nullptr, &size);
    std::vector<unsigned char> data(size + 4, 0);
    if (status == ERROR_SUCCESS) {
        status = RegQueryValueExW(opened, value.empty() ? nullptr : value.c_str(), nullptr, &type, data.data(), &size);
    }
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS) {
        return json.Field("missing", "value").Field("status", static_cast<long long>(status));
    }
    json.Field("type", TypeName(type)).Field("size", static_cast<long long>(size));
    const wchar_t* text = reinterpret_cast<const wchar_t*>(data.data());
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring string(text, size / sizeof(wchar_t));
        while (!string.empty() && string.back() == L'\0') string.pop_back();
        json.Field("data", Utf8(string));
    } else if (type == REG_MULTI_SZ) {
        Json items = Json::Array();
        const size_t count = size / sizeof(wchar_t);
        for (size_t at = 0; at < count && text[at] != L'\0';) {
            std::wstring item(text + at);
            items.Add(Utf8(item));
            at += item.size() + 1;
        }
        json.FieldRaw("data", items);
    } else if (type == REG_DWORD && size == 4) {
        json.Field("data", static_cast<long long>(*reinterpret_cast<const DWORD*>(data.data())));
    } else {
        std::string hex;
        char byte[4];
        for (DWORD i = 0; i < size; ++i) {
            std::snprintf(byte, sizeof(byte), "%02x", data[i]);
            hex += byte;
        }
        json.Field("data", hex);
    }
    return json;
}

Json ReadRegistrySubkeys(const std::string& root, const std::wstring& key) {
    Json names = Json::Array();
    HKEY rootKey;
    HKEY opened;
    if (!RootKey(root, &rootKey) || RegOpenKeyExW(rootKey, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return names;
    }
    wchar_t name[512];
    for (DWORD index = 0;; ++index) {
        DWORD length = 512;
        if (RegEnumKeyExW(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.Add(Utf8(std::wstring(name, length)));
    }
    RegCloseKey(opened);
    return names;
}

}  // namespace pilot
