// GlobalAlloc, GlobalLock, GlobalUnlock, GlobalFree; LocalAlloc and
// LocalFree (the system text of FormatMessageA is freed with LocalFree);
// the process heap behind the installer's new and delete.
#include "contract.h"

namespace contract {
namespace {

bool AllZero(const char* data, SIZE_T size) {
    for (SIZE_T i = 0; i < size; ++i) {
        if (data[i] != 0) return false;
    }
    return true;
}

void CheckGlobal() {
    ArmSentinel();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 100);
    Check("GlobalAlloc.moveable.result", block != nullptr);
    Check("GlobalSize.moveable.at_least_asked", GlobalSize(block) >= 100,
          Format("%lu bytes", static_cast<unsigned long>(GlobalSize(block))));

    char* data = static_cast<char*>(GlobalLock(block));
    Check("GlobalLock.moveable.result", data != nullptr);
    Check("GlobalLock.moveable.zeroed", data != nullptr && AllZero(data, 100));
    if (data) data[99] = 'x';

    // A second lock gives the same address; each unlock counts down, and the
    // last one answers FALSE with NO_ERROR.
    char* again = static_cast<char*>(GlobalLock(block));
    Check("GlobalLock.moveable.same_address", again == data);
    ArmSentinel();
    Check("GlobalUnlock.still_locked.result", GlobalUnlock(block) != FALSE);
    ArmSentinel();
    Check("GlobalUnlock.last.result", GlobalUnlock(block) == FALSE);
    CheckError("GlobalUnlock.last.error", NO_ERROR);
    ArmSentinel();
    Check("GlobalUnlock.not_locked.result", GlobalUnlock(block) == FALSE);
    CheckError("GlobalUnlock.not_locked.error", ERROR_NOT_LOCKED);

    data = static_cast<char*>(GlobalLock(block));
    Check("GlobalLock.relock.content_kept", data != nullptr && data[99] == 'x');
    GlobalUnlock(block);
    ArmSentinel();
    Check("GlobalFree.moveable.result", GlobalFree(block) == nullptr);

    // A fixed block: the handle is the address.
    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 16);
    Check("GlobalAlloc.fixed.result", fixed != nullptr);
    Check("GlobalLock.fixed.is_handle", GlobalLock(fixed) == fixed);
    Check("GlobalAlloc.fixed.zeroed", fixed != nullptr && AllZero(static_cast<char*>(fixed), 16));
    Check("GlobalFree.fixed.result", GlobalFree(fixed) == nullptr);
}

void CheckLocalAndHeap() {
    HLOCAL local = LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, 32);
    Check("LocalAlloc.fixed.result", local != nullptr);
    Check("LocalAlloc.fixed.zeroed", local != nullptr && AllZero(static_cast<char*>(local), 32));
    Check("LocalFree.block.result", LocalFree(local) == nullptr);
    Check("LocalFree.null.result", LocalFree(nullptr) == nullptr);

    HANDLE heap = GetProcessHeap();
    Check("GetProcessHeap.result", heap != nullptr);
    void* memory = HeapAlloc(heap, HEAP_ZERO_MEMORY, 64);
    Check("HeapAlloc.zeroed.result", memory != nullptr);
    Check("HeapAlloc.zeroed.content", memory != nullptr && AllZero(static_cast<char*>(memory), 64));
    Check("HeapFree.block.result", HeapFree(heap, 0, memory) != FALSE);
}

void Run() {
    CheckGlobal();
    CheckLocalAndHeap();
}

Group g_group("memory", Run);

}  // namespace
}  // namespace contract
