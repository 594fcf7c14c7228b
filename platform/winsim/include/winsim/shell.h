// The simulated shell as a test inspects it: the shell's allocator.
#pragma once

namespace winsim {

// References to the shell's allocator that SHGetMalloc handed out and that
// were not released yet.
int ShellMallocReferences();
// Blocks of the shell's allocator (item id lists included) not freed yet.
int LiveShellBlocks();
// Calls of IMalloc::Free with a block the allocator did not give.
int ShellMallocBadFrees();

}  // namespace winsim
