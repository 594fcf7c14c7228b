// The contract checks: what the installer relies on from each Win32 call,
// checked the same way against winsim (host build) and against Wine (the
// same sources built with the mingw-w64 toolchain). A check sets the last
// error to a sentinel, makes the call and compares the result and the last
// error; each check has a name of its own ("CreateFileA.OPEN_ALWAYS.existing.error").
#pragma once

#include <windows.h>

#include <string>

namespace contract {

// A last-error value that no call sets by itself: a call that leaves the
// last error alone is seen as doing so.
const DWORD kSentinel = 0xDEADBEEF;

inline void ArmSentinel() { SetLastError(kSentinel); }

// One check. A failed one prints a line with the name and the detail.
void Check(const std::string& name, bool passed, const std::string& detail = std::string());
void CheckNumber(const std::string& name, long long actual, long long expected);
void CheckText(const std::string& name, const std::string& actual, const std::string& expected);
// Compares GetLastError() with the expected code.
void CheckError(const std::string& name, DWORD expected);

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Bytes outside printable ASCII shown as \xNN.
std::string Printable(const std::string& text);

// The scratch folder the checks work in (no trailing backslash), and a path
// below it.
const std::string& Base();
std::string At(const std::string& relative);

// The module that holds the contract string table.
HINSTANCE Instance();

// Groups of checks, registered by each checks file and run by name order.
typedef void (*GroupFunction)();
struct Group {
    Group(const char* name, GroupFunction run);
};

}  // namespace contract
