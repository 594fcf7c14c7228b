// The registry calls as the installer makes them: every level opened or
// created on its own with KEY_READ | KEY_WRITE (an empty level name
// included), values written with a byte count that holds the terminator,
// read into buffers that may be too small.
#include <string.h>

#include "contract.h"

namespace contract {
namespace {

const REGSAM kAccess = KEY_READ | KEY_WRITE;
const char kScratch[] = "Software\\Quorlet contract";

HKEY Create(HKEY parent, const char* name, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    DWORD ignored = 0;
    char noClass[] = "";
    LONG status = RegCreateKeyExA(parent, name, 0, noClass, REG_OPTION_NON_VOLATILE, kAccess, nullptr, &key,
                                  disposition ? disposition : &ignored);
    return status == ERROR_SUCCESS ? key : nullptr;
}

void Close(HKEY key) {
    if (key) RegCloseKey(key);
}

LONG SetText(HKEY key, const char* name, const char* text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(strlen(text) + 1));
}

// Reads a value into a buffer of `size` bytes; the type and the byte count
// the call reports, and the bytes it stored.
struct Read {
    LONG status;
    DWORD type;
    DWORD size;
    std::string data;
};

Read Query(HKEY key, const char* name, DWORD size) {
    Read read;
    BYTE buffer[256];
    memset(buffer, 0xCC, sizeof(buffer));
    read.type = 0xEEEE;
    read.size = size;
    read.status = RegQueryValueExA(key, name, nullptr, &read.type, buffer, &read.size);
    if (read.status == ERROR_SUCCESS && read.size <= sizeof(buffer)) {
        read.data.assign(reinterpret_cast<char*>(buffer), read.size);
    }
    return read;
}

void CheckCreateAndOpen() {
    HKEY root = nullptr;
    DWORD disposition = 0;
    char noClass[] = "";
    CheckNumber("RegCreateKeyExA.new.status",
                RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, noClass, REG_OPTION_NON_VOLATILE, kAccess, nullptr,
                                &root, &disposition),
                ERROR_SUCCESS);
    CheckNumber("RegCreateKeyExA.new.disposition", disposition, REG_CREATED_NEW_KEY);
    Close(Create(HKEY_CURRENT_USER, kScratch, &disposition));
    CheckNumber("RegCreateKeyExA.existing.disposition", disposition, REG_OPENED_EXISTING_KEY);

    // Several missing levels in one name are all made.
    HKEY deep = Create(root, "One\\Two\\Three", &disposition);
    Check("RegCreateKeyExA.several_levels.result", deep != nullptr);
    CheckNumber("RegCreateKeyExA.several_levels.disposition", disposition, REG_CREATED_NEW_KEY);
    Close(deep);

    struct Case {
        const char* name;
        const char* subKey;
        LONG status;
    };
    const Case cases[] = {
        {"existing", "One", ERROR_SUCCESS},
        {"other_case", "ONE\\two", ERROR_SUCCESS},
        {"two_levels", "One\\Two", ERROR_SUCCESS},
        {"missing", "None", ERROR_FILE_NOT_FOUND},
        {"below_missing", "None\\Two", ERROR_FILE_NOT_FOUND},
        {"empty_name", "", ERROR_SUCCESS},
    };
    for (const Case& c : cases) {
        HKEY key = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(0x1234));
        const std::string name = std::string("RegOpenKeyExA.") + c.name;
        LONG status = RegOpenKeyExA(root, c.subKey, 0, kAccess, &key);
        CheckNumber(name + ".status", status, c.status);
        if (status == ERROR_SUCCESS) Close(key);
    }

    // An empty level name stands for the key itself: its values are there.
    SetText(root, "Marker", "root");
    HKEY same = nullptr;
    RegOpenKeyExA(root, "", 0, kAccess, &same);
    CheckText("RegOpenKeyExA.empty_name.same_key", Query(same, "Marker", 64).data, std::string("root", 5));
    Close(same);
    same = Create(root, "", &disposition);
    Check("RegCreateKeyExA.empty_name.result", same != nullptr);
    CheckNumber("RegCreateKeyExA.empty_name.disposition", disposition, REG_OPENED_EXISTING_KEY);
    CheckText("RegCreateKeyExA.empty_name.same_key", Query(same, "Marker", 64).data, std::string("root", 5));
    Close(same);

    // A key created under another case is the same key.
    Close(Create(root, "MIXED"));
    Close(Create(root, "mixed", &disposition));
    CheckNumber("RegCreateKeyExA.other_case.disposition", disposition, REG_OPENED_EXISTING_KEY);

    // A key name may hold 255 characters.
    const std::string longest(255, 'k');
    HKEY key = Create(root, longest.c_str());
    Check("RegCreateKeyExA.name_255.result", key != nullptr);
    Close(key);

    CheckNumber("RegCloseKey.status", RegCloseKey(root), ERROR_SUCCESS);
}

void CheckValues() {
    HKEY key = Create(HKEY_CURRENT_USER, kScratch);
    Check("registry.fixture.scratch_key", key != nullptr);

    CheckNumber("RegSetValueExA.sz.status", SetText(key, "Text", "text"), ERROR_SUCCESS);
    Read read = Query(key, "Text", 64);
    CheckNumber("RegQueryValueExA.sz.status", read.status, ERROR_SUCCESS);
    CheckNumber("RegQueryValueExA.sz.type", read.type, REG_SZ);
    CheckNumber("RegQueryValueExA.sz.size", read.size, 5);
    CheckText("RegQueryValueExA.sz.data", read.data, std::string("text", 5));

    // Too small a buffer: ERROR_MORE_DATA and the size needed.
    read = Query(key, "Text", 3);
    CheckNumber("RegQueryValueExA.too_small.status", read.status, ERROR_MORE_DATA);
    CheckNumber("RegQueryValueExA.too_small.size", read.size, 5);
    // The exact size fits.
    read = Query(key, "Text", 5);
    CheckNumber("RegQueryValueExA.exact.status", read.status, ERROR_SUCCESS);
    CheckText("RegQueryValueExA.exact.data", read.data, std::string("text", 5));

    // No buffer: the size alone.
    DWORD type = 0, size = 0;
    CheckNumber("RegQueryValueExA.size_only.status", RegQueryValueExA(key, "Text", nullptr, &type, nullptr, &size),
                ERROR_SUCCESS);
    CheckNumber("RegQueryValueExA.size_only.size", size, 5);

    CheckNumber("RegQueryValueExA.missing.status", Query(key, "No such value", 64).status, ERROR_FILE_NOT_FOUND);
    CheckNumber("RegQueryValueExA.other_case.status", Query(key, "TEXT", 64).status, ERROR_SUCCESS);
    SetText(key, "TEXT", "replaced");
    CheckText("RegSetValueExA.other_case.replaces", Query(key, "Text", 64).data, std::string("replaced", 9));

    // The default value, by NULL and by "".
    CheckNumber("RegSetValueExA.default_by_null.status", SetText(key, nullptr, "by null"), ERROR_SUCCESS);
    CheckText("RegQueryValueExA.default_by_empty.data", Query(key, "", 64).data, std::string("by null", 8));
    CheckNumber("RegSetValueExA.default_by_empty.status", SetText(key, "", "by empty"), ERROR_SUCCESS);
    CheckText("RegQueryValueExA.default_by_null.data", Query(key, nullptr, 64).data, std::string("by empty", 9));

    // Each type comes back as it was written; nothing is expanded.
    struct Typed {
        const char* name;
        DWORD type;
        std::string bytes;
    };
    const Typed typed[] = {
        {"expand_sz", REG_EXPAND_SZ, std::string("%SystemRoot%\\system32;C:\\Quorlet", 33)},
        {"dword", REG_DWORD, std::string("\x01\x02\x03\x04", 4)},
        {"binary", REG_BINARY, std::string("\x00\xFF\x10", 3)},
        {"multi_sz", REG_MULTI_SZ, std::string("one\0two\0\0", 9)},
    };
    for (const Typed& t : typed) {
        const std::string name = std::string("RegQueryValueExA.") + t.name;
        RegSetValueExA(key, t.name, 0, t.type, reinterpret_cast<const BYTE*>(t.bytes.data()),
                       static_cast<DWORD>(t.bytes.size()));
        read = Query(key, t.name, 64);
        CheckNumber(name + ".type", read.type, t.type);
        CheckNumber(name + ".size", read.size, static_cast<long long>(t.bytes.size()));
        CheckText(name + ".data", read.data, t.bytes);
    }

    // A string stored without a terminator comes back without one (the
    // byte after the count is no zero, so nothing supplies one).
    RegSetValueExA(key, "No end", 0, REG_SZ, reinterpret_cast<const BYTE*>("abcdX"), 4);
    read = Query(key, "No end", 64);
    CheckNumber("RegQueryValueExA.sz_no_terminator.size", read.size, 4);
    CheckText("RegQueryValueExA.sz_no_terminator.data", read.data, "abcd");

    // A value with ANSI bytes beyond ASCII.
    SetText(key, "Folder", "C:\\Program Files\\Cr\xE8me");
    CheckText("RegQueryValueExA.ansi.data", Query(key, "Folder", 64).data,
              std::string("C:\\Program Files\\Cr\xE8me", 23));
    Close(key);
}

// HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes: a key made
// through one is found through the other.
void CheckClassesRoot() {
    HKEY key = Create(HKEY_CLASSES_ROOT, "Quorlet.contract");
    Check("HKEY_CLASSES_ROOT.create.result", key != nullptr);
    SetText(key, nullptr, "through classes root");
    Close(key);
    key = nullptr;
    CheckNumber("HKEY_CLASSES_ROOT.is_machine_classes.status",
                RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\Quorlet.contract", 0, kAccess, &key),
                ERROR_SUCCESS);
    CheckText("HKEY_CLASSES_ROOT.is_machine_classes.value", Query(key, nullptr, 64).data,
              std::string("through classes root", 21));
    Close(key);
}

void Run() {
    CheckCreateAndOpen();
    CheckValues();
    CheckClassesRoot();
}

Group g_group("registry", Run);

}  // namespace
}  // namespace contract
