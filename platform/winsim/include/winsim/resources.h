// The running module's resources: the compiled .res of install.rc (the
// same bytes windres links into Install.EXE), parsed and served by
// FindResourceA, LoadStringA, LoadIconA and the dialog manager.
#pragma once

#include <cstddef>
#include <string>

#include "../windows.h"

namespace winsim {

// Module handle of the simulated installer (what GetModuleHandleA(NULL) gives).
HINSTANCE ModuleInstance();

// Uses the .res file image as the module's resources; false when it is not a
// well-formed .res file.
bool SetModuleResources(const unsigned char* res, std::size_t size);

// A resource chosen for a language the way Windows chooses: the language
// asked for, then its primary language with SUBLANG_DEFAULT, then
// LANG_NEUTRAL, then English (United States), then the first one filed.
// Returns the data (empty if none) and the language it was filed under.
struct FoundResource {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    LANGID language = 0;
    bool found = false;
};
FoundResource FindModuleResource(const char* type, const char* name, LANGID language);

// Converts UTF-16 text from the resources to the machine's ANSI code page.
std::string ToAnsi(const WCHAR* text, std::size_t length);

}  // namespace winsim
