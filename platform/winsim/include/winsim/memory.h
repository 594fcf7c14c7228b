// The simulated memory managers, as a test inspects them.
#pragma once

namespace winsim {

// Blocks allocated and not freed: global (GlobalAlloc), local (LocalAlloc)
// and process heap (HeapAlloc).
int LiveGlobalBlocks();
int LiveLocalBlocks();
int LiveHeapBlocks();
int LockCount(void* hGlobal);  // lock count of a global block

}  // namespace winsim
