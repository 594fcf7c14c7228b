// Registry values addressed by a predefined root key, a key path of levels
// separated by backslashes, and a value name. A walk opens (or creates) the
// path one level at a time, each level below the previous one with
// KEY_READ | KEY_WRITE, and keeps every handle in a chain of nodes until the
// value has been read or written; then the whole chain is closed. Results:
// 0, -1 when a node cannot be allocated, or the error code of the registry
// call that failed. Every return leaves the chain empty with no key open.
#pragma once

#include <windows.h>

// The access every level is opened with, for reading as for writing.
const REGSAM KEY_PATH_ACCESS = KEY_READ | KEY_WRITE;

// Result when a chain node cannot be allocated.
const LONG KEY_CHAIN_NO_MEMORY = -1;

// One level of an open key path; the first node holds the caller's root key.
struct KeyChainNode {
    HKEY key;
    KeyChainNode* next;
};

// The process-wide chain of the one walk that may exist at a time: its first
// node, the node most recently linked, and the node just allocated. All three
// are empty between walks.
struct KeyChain {
    KeyChainNode* first;
    KeyChainNode* current;
    KeyChainNode* newest;
};
extern KeyChain g_keyChain;

// Copies the text from `cursor` up to the next `delimiter` or the end into
// `buffer` (limit + 1 bytes): its first `limit` bytes and a zero, the rest
// passed over. The cursor moves behind the delimiter, or onto the end of the
// text; at the end it yields an empty token and stays.
void GetToken(const char*& cursor, char* buffer, int limit, char delimiter);

// Open (or create, each missing level in turn, top level first) every level
// of `keyPath` below `root` with `access`. On 0 `key` holds the last level's
// handle (the root itself for an empty path) and the chain is open until
// CloseKeyChain. Any failure releases the chain before returning. An empty
// level (a leading or doubled backslash) is passed to the registry as it is;
// a level longer than 259 characters is cut to 259.
LONG OpenKeyChain(HKEY root, const char* keyPath, REGSAM access, HKEY& key);
LONG CreateKeyChain(HKEY root, const char* keyPath, REGSAM access, HKEY& key);

// Closes every key of the chain, the root's included, frees its nodes and
// empties it.
void CloseKeyChain();

// Reads the value `valueName` (NULL or "" for the default value) of the key
// at `keyPath` into `data`. `size` holds the buffer's byte count on entry and
// the value's on return (on ERROR_MORE_DATA the count needed). `type`, when
// not NULL, receives the value's registry type. String data (REG_SZ,
// REG_EXPAND_SZ, REG_MULTI_SZ) always end inside the buffer with a zero byte:
// a string that fills the buffer without one is refused with ERROR_MORE_DATA
// and `size` asks for one byte more. With `data` NULL only the size is read.
LONG RegReadPath(HKEY root, const char* keyPath, const char* valueName, DWORD* type, void* data,
                 DWORD* size);

// Writes the value, creating every missing level of the path.
LONG RegWritePath(HKEY root, const char* keyPath, const char* valueName, DWORD type,
                  const void* data, DWORD size);
