#include "util/reg_path.h"

KeyChain g_keyChain = {NULL, NULL, NULL};

void GetToken(const char*& cursor, char* buffer, int limit, char delimiter) {
    int stored = 0;
    while (*cursor != '\0' && *cursor != delimiter) {
        if (stored < limit) buffer[stored++] = *cursor;
        ++cursor;
    }
    buffer[stored] = '\0';
    if (*cursor == delimiter) ++cursor;
}

namespace {

// A level of up to 259 characters and its zero.
const int LEVEL_LIMIT = MAX_PATH - 1;

KeyChainNode* NewNode(HKEY key) {
    KeyChainNode* node =
        static_cast<KeyChainNode*>(HeapAlloc(GetProcessHeap(), 0, sizeof(KeyChainNode)));
    if (node != NULL) {
        node->key = key;
        node->next = NULL;
    }
    g_keyChain.newest = node;
    return node;
}

// Closes and frees the chain; `unopened`, a node whose open failed, holds no
// key and is only freed.
void ReleaseKeyChain(KeyChainNode* unopened) {
    KeyChainNode* node = g_keyChain.first;
    while (node != NULL) {
        KeyChainNode* next = node->next;
        if (node != unopened) RegCloseKey(node->key);
        HeapFree(GetProcessHeap(), 0, node);
        node = next;
    }
    g_keyChain.first = NULL;
    g_keyChain.current = NULL;
    g_keyChain.newest = NULL;
}

LONG OpenLevel(HKEY parent, const char* name, REGSAM access, HKEY* key, bool create) {
    if (!create) return RegOpenKeyExA(parent, name, 0, access, key);
    char noClass[] = "";
    DWORD disposition;
    return RegCreateKeyExA(parent, name, 0, noClass, REG_OPTION_NON_VOLATILE, access, NULL, key,
                           &disposition);
}

LONG WalkKeyChain(HKEY root, const char* keyPath, REGSAM access, HKEY& key, bool create) {
    g_keyChain.first = NewNode(root);
    if (g_keyChain.first == NULL) {
        CloseKeyChain();
        return KEY_CHAIN_NO_MEMORY;
    }
    g_keyChain.current = g_keyChain.first;
    char level[MAX_PATH];
    const char* cursor = keyPath;
    while (*cursor != '\0') {
        GetToken(cursor, level, LEVEL_LIMIT, '\\');
        KeyChainNode* node = NewNode(NULL);
        if (node == NULL) {
            CloseKeyChain();
            return KEY_CHAIN_NO_MEMORY;
        }
        g_keyChain.current->next = node;
        LONG result = OpenLevel(g_keyChain.current->key, level, access, &node->key, create);
        if (result != ERROR_SUCCESS) {
            ReleaseKeyChain(node);
            return result;
        }
        g_keyChain.current = node;
    }
    key = g_keyChain.current->key;
    return ERROR_SUCCESS;
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

LONG OpenKeyChain(HKEY root, const char* keyPath, REGSAM access, HKEY& key) {
    return WalkKeyChain(root, keyPath, access, key, false);
}

LONG CreateKeyChain(HKEY root, const char* keyPath, REGSAM access, HKEY& key) {
    return WalkKeyChain(root, keyPath, access, key, true);
}

void CloseKeyChain() { ReleaseKeyChain(NULL); }

LONG RegReadPath(HKEY root, const char* keyPath, const char* valueName, DWORD* type, void* data,
                 DWORD* size) {
    HKEY key;
    LONG result = OpenKeyChain(root, keyPath, KEY_PATH_ACCESS, key);
    if (result != ERROR_SUCCESS) return result;
    DWORD capacity = *size;
    DWORD valueType = REG_NONE;
    BYTE* bytes = static_cast<BYTE*>(data);
    result = RegQueryValueExA(key, valueName, NULL, &valueType, bytes, size);
    CloseKeyChain();
    if (type != NULL) *type = valueType;
    if (result != ERROR_SUCCESS || data == NULL || !IsStringType(valueType)) return result;
    // The callers read string data as text: it must end inside the buffer.
    if (*size < capacity) {
        bytes[*size] = '\0';
    } else if (*size == 0 || bytes[*size - 1] != '\0') {
        if (capacity > 0) bytes[0] = '\0';
        *size += 1;
        return ERROR_MORE_DATA;
    }
    return ERROR_SUCCESS;
}

LONG RegWritePath(HKEY root, const char* keyPath, const char* valueName, DWORD type,
                  const void* data, DWORD size) {
    HKEY key;
    LONG result = CreateKeyChain(root, keyPath, KEY_PATH_ACCESS, key);
    if (result != ERROR_SUCCESS) return result;
    result = RegSetValueExA(key, valueName, 0, type, static_cast<const BYTE*>(data), size);
    CloseKeyChain();
    return result;
}
