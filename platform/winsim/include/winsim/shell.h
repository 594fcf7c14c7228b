// COM, the shell link object and the shell's allocator, as a test inspects
// them.
#pragma once

#include <string>

namespace winsim {

// COM objects created by CoCreateInstance and not yet released.
int LiveComObjects();
// CoInitialize calls not yet balanced by CoUninitialize.
int ComInitializeDepth();

// References to the shell's allocator that SHGetMalloc handed out and that
// were not released yet.
int ShellMallocReferences();
// Blocks of the shell's allocator (item id lists included) not freed yet.
int LiveShellBlocks();
// Calls of IMalloc::Free with a block the allocator did not give.
int ShellMallocBadFrees();

}  // namespace winsim
