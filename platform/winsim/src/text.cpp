// The string calls of KERNEL32 and USER32 that work on 8-bit text.
#include <cstring>

#include "winsim/machine.h"

extern "C" {

int WINAPI lstrlenA(LPCSTR text) { return text == nullptr ? 0 : static_cast<int>(std::strlen(text)); }

LPSTR WINAPI lstrcpynA(LPSTR target, LPCSTR source, int maxLength) {
    // Copies at most maxLength - 1 characters and terminates; a length of 0
    // leaves the buffer untouched. A negative length would be a count without
    // end, so it copies nothing and fails.
    if (target == nullptr || source == nullptr || maxLength < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (maxLength == 0) return target;
    int i = 0;
    for (; i < maxLength - 1 && source[i] != '\0'; ++i) target[i] = source[i];
    target[i] = '\0';
    return target;
}

}  // extern "C"
