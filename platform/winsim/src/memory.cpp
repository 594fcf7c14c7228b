// Global, local and process-heap memory. Blocks are host heap blocks of
// exactly the size asked for, so AddressSanitizer sees every access past
// their end.
#include "winsim/memory.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include "winsim/faults.h"
#include "winsim/machine.h"

namespace winsim {
namespace {

struct Block {
    char* data = nullptr;
    SIZE_T size = 0;
    bool moveable = false;
    int locks = 0;
};

// Handles of moveable global blocks are numbers of their own; fixed blocks
// are their own address, as on Windows.
std::map<HGLOBAL, Block> g_global;
std::map<HLOCAL, Block> g_local;
std::map<void*, SIZE_T> g_heap;
LONG_PTR g_nextMoveable = 0x10000;

void FreeAll() {
    for (auto& e : g_global) std::free(e.second.data);
    for (auto& e : g_local) std::free(e.second.data);
    for (auto& e : g_heap) std::free(e.first);
    g_global.clear();
    g_local.clear();
    g_heap.clear();
}

ResetHook g_reset([] { FreeAll(); });

bool Fail(const char* api) {
    DWORD error;
    if (!ShouldFail(api, &error)) return false;
    SetLastError(error);
    return true;
}

char* NewData(SIZE_T size, bool zero) {
    // One byte at least, so that every block has an address of its own.
    char* data = static_cast<char*>(std::malloc(size == 0 ? 1 : size));
    if (zero) std::memset(data, 0, size == 0 ? 1 : size);
    return data;
}

}  // namespace

int LiveGlobalBlocks() { return static_cast<int>(g_global.size()); }
int LiveLocalBlocks() { return static_cast<int>(g_local.size()); }
int LiveHeapBlocks() { return static_cast<int>(g_heap.size()); }

int LockCount(void* hGlobal) {
    auto it = g_global.find(hGlobal);
    return it == g_global.end() ? 0 : it->second.locks;
}

}  // namespace winsim

using winsim::Block;

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (winsim::Fail("GlobalAlloc")) return nullptr;
    Block block;
    block.size = bytes;
    block.moveable = (flags & GMEM_MOVEABLE) != 0;
    block.data = winsim::NewData(bytes, (flags & GMEM_ZEROINIT) != 0);
    HGLOBAL handle = block.moveable ? reinterpret_cast<HGLOBAL>(winsim::g_nextMoveable += 8)
                                    : static_cast<HGLOBAL>(block.data);
    winsim::g_global[handle] = block;
    return handle;
}

LPVOID WINAPI GlobalLock(HGLOBAL handle) {
    auto it = winsim::g_global.find(handle);
    if (it == winsim::g_global.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (winsim::Fail("GlobalLock")) return nullptr;
    if (it->second.moveable) ++it->second.locks;
    return it->second.data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL handle) {
    auto it = winsim::g_global.find(handle);
    if (it == winsim::g_global.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A block that is not locked (a fixed one never is) answers
    // ERROR_NOT_LOCKED; the unlock that ends the last lock answers NO_ERROR.
    if (it->second.locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--it->second.locks == 0) {
        SetLastError(NO_ERROR);
        return FALSE;
    }
    return TRUE;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL handle) {
    auto it = winsim::g_global.find(handle);
    if (it == winsim::g_global.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return handle;
    }
    std::free(it->second.data);
    winsim::g_global.erase(it);
    return nullptr;
}

SIZE_T WINAPI GlobalSize(HGLOBAL handle) {
    auto it = winsim::g_global.find(handle);
    if (it == winsim::g_global.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return it->second.size;
}

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
    if (winsim::Fail("LocalAlloc")) return nullptr;
    Block block;
    block.size = bytes;
    block.data = winsim::NewData(bytes, (flags & LMEM_ZEROINIT) != 0);
    winsim::g_local[block.data] = block;
    return block.data;
}

HLOCAL WINAPI LocalFree(HLOCAL handle) {
    if (handle == nullptr) return nullptr;
    auto it = winsim::g_local.find(handle);
    if (it == winsim::g_local.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return handle;
    }
    std::free(it->second.data);
    winsim::g_local.erase(it);
    return nullptr;
}

HANDLE WINAPI GetProcessHeap(void) { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(0x00140000)); }

LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    if (heap != GetProcessHeap()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (winsim::Fail("HeapAlloc")) return nullptr;
    char* data = winsim::NewData(bytes, (flags & HEAP_ZERO_MEMORY) != 0);
    winsim::g_heap[data] = bytes;
    return data;
}

BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID memory) {
    (void)flags;
    if (memory == nullptr) return TRUE;
    auto it = winsim::g_heap.find(memory);
    if (heap != GetProcessHeap() || it == winsim::g_heap.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::free(memory);
    winsim::g_heap.erase(it);
    return TRUE;
}

}  // extern "C"
