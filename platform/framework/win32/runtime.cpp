// What the compiler may call in a program without a C runtime: the heap
// operators on the process heap and the memory helpers.
#include <windows.h>

void* operator new(unsigned int size) { return HeapAlloc(GetProcessHeap(), 0, size); }
void* operator new[](unsigned int size) { return HeapAlloc(GetProcessHeap(), 0, size); }
void operator delete(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete[](void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete(void* block, unsigned int) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
void operator delete[](void* block, unsigned int) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

extern "C" {

void* memset(void* target, int value, unsigned int count) {
    unsigned char* p = static_cast<unsigned char*>(target);
    while (count-- > 0) *p++ = static_cast<unsigned char>(value);
    return target;
}

void* memcpy(void* target, const void* source, unsigned int count) {
    unsigned char* t = static_cast<unsigned char*>(target);
    const unsigned char* s = static_cast<const unsigned char*>(source);
    while (count-- > 0) *t++ = *s++;
    return target;
}

void* memmove(void* target, const void* source, unsigned int count) {
    unsigned char* t = static_cast<unsigned char*>(target);
    const unsigned char* s = static_cast<const unsigned char*>(source);
    if (t < s) {
        while (count-- > 0) *t++ = *s++;
    } else {
        while (count-- > 0) t[count] = s[count];
    }
    return target;
}

int memcmp(const void* a, const void* b, unsigned int count) {
    const unsigned char* p = static_cast<const unsigned char*>(a);
    const unsigned char* q = static_cast<const unsigned char*>(b);
    for (; count > 0; --count, ++p, ++q) {
        if (*p != *q) return *p < *q ? -1 : 1;
    }
    return 0;
}

// A pure virtual function called through a half-built object: nothing sane
// can follow.
void __cxa_pure_virtual(void) { ExitProcess(3); }

}  // extern "C"
