// Upper-casing of single bytes by the active ANSI code page, and a counted
// comparison that ignores letter case.
#pragma once

#include <windows.h>

// The upper-case byte of `c` in the table of the active ANSI code page.
BYTE UpperCp(BYTE c);

// Compares exactly `count` bytes of both sequences through UpperCp, zero
// bytes included: -1, 0 or 1. A count of 0 or less compares nothing.
int CompareNoCaseN(const BYTE* first, const BYTE* second, int count);
inline int CompareNoCaseN(const char* first, const char* second, int count) {
    return CompareNoCaseN(reinterpret_cast<const BYTE*>(first), reinterpret_cast<const BYTE*>(second),
                          count);
}
