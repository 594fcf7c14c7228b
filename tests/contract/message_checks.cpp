// FormatMessageA as the installer calls it: the system's text for a code,
// allocated by the system, no inserts, freed with LocalFree. The wording is
// the system's own; what is relied on is that a text is there, says it in
// one line and ends with CR LF.
#include <string.h>

#include "contract.h"

namespace contract {
namespace {

const DWORD kSystemText = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER;
const DWORD kUserDefault = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);

// The codes the installer's calls leave: files, folders, copies, moves,
// memory, the registry and the privilege calls.
const DWORD kCodes[] = {
    ERROR_SUCCESS,          ERROR_FILE_NOT_FOUND,     ERROR_PATH_NOT_FOUND,    ERROR_ACCESS_DENIED,
    ERROR_NOT_ENOUGH_MEMORY, ERROR_OUTOFMEMORY,       ERROR_WRITE_PROTECT,     ERROR_NOT_READY,
    ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION,    ERROR_HANDLE_DISK_FULL,  ERROR_BAD_NETPATH,
    ERROR_FILE_EXISTS,      ERROR_INVALID_PARAMETER,  ERROR_DISK_FULL,         ERROR_INSUFFICIENT_BUFFER,
    ERROR_INVALID_NAME,     ERROR_ALREADY_EXISTS,     ERROR_FILENAME_EXCED_RANGE, ERROR_MORE_DATA,
    ERROR_NO_MORE_ITEMS,    ERROR_CANTOPEN,           ERROR_CANTREAD,          ERROR_CANTWRITE,
    ERROR_NOT_ALL_ASSIGNED, ERROR_PRIVILEGE_NOT_HELD,
};

void CheckPresent() {
    for (DWORD code : kCodes) {
        const std::string name = Format("FormatMessageA.code_%lu", static_cast<unsigned long>(code));
        LPSTR text = nullptr;
        ArmSentinel();
        DWORD length = FormatMessageA(kSystemText, nullptr, code, kUserDefault, reinterpret_cast<LPSTR>(&text), 0,
                                      nullptr);
        Check(name + ".present", length > 2 && text != nullptr, Format("answered %lu", static_cast<unsigned long>(length)));
        if (length <= 2 || text == nullptr) continue;
        const std::string got(text);
        CheckNumber(name + ".length", static_cast<long long>(got.size()), length);
        Check(name + ".ends_crlf", got.size() >= 2 && got.compare(got.size() - 2, 2, "\r\n") == 0,
              "got \"" + Printable(got) + "\"");
        Check(name + ".one_line", got.find_first_of("\r\n") == got.size() - 2, "got \"" + Printable(got) + "\"");
        Check(name + ".freed", LocalFree(text) == nullptr);
    }
}

// A code with no text: nothing allocated, ERROR_MR_MID_NOT_FOUND.
void CheckMissing() {
    const DWORD codes[] = {0x3FFE, 0xFFFFFFFF};
    for (DWORD code : codes) {
        const std::string name = Format("FormatMessageA.no_text_0x%lX", static_cast<unsigned long>(code));
        LPSTR text = reinterpret_cast<LPSTR>(&text);  // anything but NULL
        ArmSentinel();
        DWORD length = FormatMessageA(kSystemText, nullptr, code, kUserDefault, reinterpret_cast<LPSTR>(&text), 0,
                                      nullptr);
        CheckNumber(name + ".result", length, 0);
        CheckError(name + ".error", ERROR_MR_MID_NOT_FOUND);
        Check(name + ".no_buffer", text == nullptr, "the buffer pointer was not set to NULL");
    }
}

void Run() {
    CheckPresent();
    CheckMissing();
}

Group g_group("text.messages", Run);

}  // namespace
}  // namespace contract
