// The shell's allocator, the folder browser and item id lists. An id list
// that the browser returns holds one item with the folder's path; it is
// allocated from the shell's allocator, whose blocks and references are
// counted so that a test can tell the program gave both back.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "shlobj.h"
#include "winsim/faults.h"
#include "winsim/machine.h"
#include "winsim/shell.h"
#include "winsim/transcript.h"
#include "wm_internal.h"

namespace winsim {
namespace {

// The item's bytes: a mark, then the path and its zero.
const BYTE kMark[2] = {'W', 'S'};

class ShellMalloc : public IMalloc {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        if (std::memcmp(&riid, &IID_IUnknown, sizeof(IID)) == 0) {
            AddRef();
            *ppvObject = static_cast<IUnknown*>(this);
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override {
        // The allocator itself lives as long as the process.
        if (references > 0) --references;
        return static_cast<ULONG>(references);
    }
    void* STDMETHODCALLTYPE Alloc(SIZE_T cb) override {
        void* block = std::malloc(cb == 0 ? 1 : cb);
        blocks.insert(block);
        return block;
    }
    void* STDMETHODCALLTYPE Realloc(void* pv, SIZE_T cb) override {
        if (pv != nullptr && blocks.count(pv) == 0) {
            ++badFrees;
            return nullptr;
        }
        blocks.erase(pv);
        void* block = std::realloc(pv, cb == 0 ? 1 : cb);
        blocks.insert(block);
        return block;
    }
    void STDMETHODCALLTYPE Free(void* pv) override {
        if (pv == nullptr) return;
        if (blocks.erase(pv) == 0) {
            ++badFrees;
            return;
        }
        std::free(pv);
    }
    SIZE_T STDMETHODCALLTYPE GetSize(void* pv) override {
        (void)pv;
        return static_cast<SIZE_T>(-1);
    }
    int STDMETHODCALLTYPE DidAlloc(void* pv) override { return blocks.count(pv) ? 1 : 0; }
    void STDMETHODCALLTYPE HeapMinimize() override {}

    void Clear() {
        for (void* block : blocks) std::free(block);
        blocks.clear();
        references = 0;
        badFrees = 0;
    }

    int references = 0;
    int badFrees = 0;
    std::set<void*> blocks;
};

ShellMalloc g_malloc;
ResetHook g_reset([] { g_malloc.Clear(); });

LPITEMIDLIST NewIdList(const std::string& path) {
    std::size_t itemSize = 2 + sizeof kMark + path.size() + 1;
    BYTE* bytes = static_cast<BYTE*>(g_malloc.Alloc(itemSize + 2));
    bytes[0] = static_cast<BYTE>(itemSize & 0xFF);
    bytes[1] = static_cast<BYTE>(itemSize >> 8);
    std::memcpy(bytes + 2, kMark, sizeof kMark);
    std::memcpy(bytes + 2 + sizeof kMark, path.c_str(), path.size() + 1);
    bytes[itemSize] = 0;
    bytes[itemSize + 1] = 0;
    return reinterpret_cast<LPITEMIDLIST>(bytes);
}

// The path an id list of the browser holds; false for any other list.
bool PathOf(LPCITEMIDLIST list, std::string* path) {
    if (list == nullptr || !g_malloc.DidAlloc(const_cast<ITEMIDLIST*>(list))) return false;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(list);
    std::size_t itemSize = bytes[0] | (bytes[1] << 8);
    if (itemSize < 2 + sizeof kMark + 1 || std::memcmp(bytes + 2, kMark, sizeof kMark) != 0) return false;
    *path = reinterpret_cast<const char*>(bytes + 2 + sizeof kMark);
    return true;
}

std::string LastLevel(const std::string& path) {
    std::size_t end = path.size();
    if (end > 0 && path[end - 1] == '\\') --end;
    std::size_t start = path.rfind('\\', end == 0 ? 0 : end - 1);
    start = start == std::string::npos || start >= end ? 0 : start + 1;
    return path.substr(start, end - start);
}

}  // namespace

int ShellMallocReferences() { return g_malloc.references; }
int LiveShellBlocks() { return static_cast<int>(g_malloc.blocks.size()); }
int ShellMallocBadFrees() { return g_malloc.badFrees; }

}  // namespace winsim

extern "C" {

HRESULT WINAPI SHGetMalloc(LPMALLOC* ppMalloc) {
    if (ppMalloc == nullptr) return E_INVALIDARG;
    DWORD error;
    if (winsim::ShouldFail("SHGetMalloc", &error)) {
        *ppMalloc = nullptr;
        return error != 0 ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    winsim::g_malloc.AddRef();
    *ppMalloc = &winsim::g_malloc;
    return S_OK;
}

LPITEMIDLIST WINAPI SHBrowseForFolderA(LPBROWSEINFOA lpbi) {
    if (lpbi == nullptr) return nullptr;
    char flags[16];
    std::snprintf(flags, sizeof flags, "0x%04X", lpbi->ulFlags);
    winsim::Record("browse open title=" + winsim::Quote(lpbi->lpszTitle ? lpbi->lpszTitle : "") +
                   " owner=" + (lpbi->hwndOwner ? winsim::DescribeWindow(lpbi->hwndOwner) : "none") +
                   " flags=" + flags + " root=" + (lpbi->pidlRoot ? "given" : "desktop"));
    std::string folder;
    if (!winsim::UserBrowse(lpbi->lpszTitle ? lpbi->lpszTitle : "", &folder,
                            (lpbi->ulFlags & BIF_RETURNONLYFSDIRS) != 0)) {
        return nullptr;
    }
    if (lpbi->pszDisplayName != nullptr) lstrcpynA(lpbi->pszDisplayName, winsim::LastLevel(folder).c_str(), MAX_PATH);
    return winsim::NewIdList(folder);
}

BOOL WINAPI SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath) {
    if (pszPath == nullptr) return FALSE;
    pszPath[0] = '\0';
    DWORD error;
    std::string path;
    if (winsim::ShouldFail("SHGetPathFromIDListA", &error) || !winsim::PathOf(pidl, &path)) return FALSE;
    lstrcpynA(pszPath, path.c_str(), MAX_PATH);
    return TRUE;
}

}  // extern "C"
