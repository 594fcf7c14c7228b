// The module's resources, parsed from the compiled .res image, and the
// resource calls: FindResourceA, FindResourceExA, LoadResource,
// LockResource, SizeofResource and LoadStringA.
#include "winsim/resources.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "codepage.h"
#include "winsim/faults.h"
#include "winsim/pe_image.h"
#include "winsim/machine.h"

namespace winsim {
namespace {

// A type or name of a resource, as the PE reader knows it; names are kept
// in upper case, as Windows compares them.
using ResourceName = PeResourceId;

// One resource of the .res image.
struct Entry {
    ResourceName type;
    ResourceName name;
    LANGID language = 0;
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

std::vector<unsigned char> g_image;
std::vector<Entry> g_entries;

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(static_cast<LONG_PTR>(0x00400000));

WORD ReadWord(const unsigned char* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
DWORD ReadDword(const unsigned char* p) {
    return static_cast<DWORD>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24));
}

// Reads a type or name field at `*pos` (bounded by `end`); false when malformed.
bool ReadNameField(const unsigned char* base, std::size_t* pos, std::size_t end, ResourceName* out) {
    if (*pos + 2 > end) return false;
    if (ReadWord(base + *pos) == 0xFFFF) {
        if (*pos + 4 > end) return false;
        out->isName = false;
        out->id = ReadWord(base + *pos + 2);
        *pos += 4;
        return true;
    }
    out->isName = true;
    while (true) {
        if (*pos + 2 > end) return false;
        WORD c = ReadWord(base + *pos);
        *pos += 2;
        if (c == 0) break;
        out->name += UpperWide(static_cast<char16_t>(c));
    }
    return true;
}

bool Parse(const unsigned char* res, std::size_t size, std::vector<Entry>* entries) {
    std::size_t pos = 0;
    while (pos + 8 <= size) {
        DWORD dataSize = ReadDword(res + pos);
        DWORD headerSize = ReadDword(res + pos + 4);
        if (headerSize < 8 || pos + headerSize > size || dataSize > size - pos - headerSize) return false;
        std::size_t field = pos + 8;
        std::size_t headerEnd = pos + headerSize;
        Entry entry;
        if (!ReadNameField(res, &field, headerEnd, &entry.type)) return false;
        if (!ReadNameField(res, &field, headerEnd, &entry.name)) return false;
        field = (field + 3) & ~static_cast<std::size_t>(3);
        // DataVersion (4), MemoryFlags (2), LanguageId (2), Version, Characteristics.
        if (field + 16 > headerEnd) return false;
        entry.language = ReadWord(res + field + 6);
        entry.data = res + headerEnd;
        entry.size = dataSize;
        // The image starts with an empty entry of type 0.
        if (entry.type.isName || entry.type.id != 0) entries->push_back(entry);
        pos = (headerEnd + dataSize + 3) & ~static_cast<std::size_t>(3);
    }
    return true;
}

ResourceName NameOf(const char* name) {
    ResourceName result;
    if (IS_INTRESOURCE(name)) {
        result.isName = false;
        result.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    } else if (name[0] == '#') {
        result.isName = false;
        for (const char* p = name + 1; *p >= '0' && *p <= '9'; ++p) result.id = static_cast<WORD>(result.id * 10 + (*p - '0'));
    } else {
        result.isName = true;
        for (char16_t c : AnsiToUtf16(name, ActiveCodePage())) result.name += UpperWide(c);
    }
    return result;
}

bool SameResourceName(const ResourceName& a, const ResourceName& b) {
    return a.isName == b.isName && (a.isName ? a.name == b.name : a.id == b.id);
}

const Entry* FindEntry(const ResourceName& type, const ResourceName& name, LANGID language) {
    const Entry* first = nullptr;
    const Entry* byLanguage[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
    const LANGID order[4] = {language,
                             static_cast<LANGID>(MAKELANGID(PRIMARYLANGID(language), SUBLANG_DEFAULT)),
                             static_cast<LANGID>(MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)),
                             static_cast<LANGID>(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US))};
    for (const Entry& entry : g_entries) {
        if (!SameResourceName(entry.type, type) || !SameResourceName(entry.name, name)) continue;
        if (first == nullptr) first = &entry;
        for (int i = 0; i < 4; ++i) {
            if (entry.language == order[i] && byLanguage[i] == nullptr) byLanguage[i] = &entry;
        }
    }
    for (int i = 0; i < 4; ++i) {
        if (byLanguage[i]) return byLanguage[i];
    }
    return first;
}

const Entry* FindExact(const ResourceName& type, const ResourceName& name, LANGID language) {
    for (const Entry& entry : g_entries) {
        if (SameResourceName(entry.type, type) && SameResourceName(entry.name, name) &&
            entry.language == language) {
            return &entry;
        }
    }
    return nullptr;
}

bool HasType(const ResourceName& type) {
    for (const Entry& entry : g_entries) {
        if (SameResourceName(entry.type, type)) return true;
    }
    return false;
}

bool IsOwnModule(HMODULE module) { return module == nullptr || module == kModule; }

}  // namespace

HINSTANCE ModuleInstance() { return kModule; }

bool SetModuleResources(const unsigned char* res, std::size_t size) {
    std::vector<unsigned char> image(res, res + size);
    std::vector<Entry> entries;
    if (!Parse(image.data(), image.size(), &entries)) return false;
    // The entries point into the image, which must not move afterwards.
    g_image.swap(image);
    g_entries.clear();
    Parse(g_image.data(), g_image.size(), &g_entries);
    return true;
}

FoundResource FindModuleResource(const char* type, const char* name, LANGID language) {
    FoundResource found;
    const Entry* entry = FindEntry(NameOf(type), NameOf(name), language);
    if (entry) {
        found.data = entry->data;
        found.size = entry->size;
        found.language = entry->language;
        found.found = true;
    }
    return found;
}

std::string ToAnsi(const WCHAR* text, std::size_t length) {
    return Utf16ToAnsi(std::u16string(text, length), ActiveCodePage());
}

}  // namespace winsim

extern "C" {

HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    if (!winsim::IsOwnModule(module)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    winsim::ResourceName typeName = winsim::NameOf(type);
    const winsim::Entry* entry =
        winsim::FindEntry(typeName, winsim::NameOf(name), winsim::settings().language);
    if (entry == nullptr) {
        SetLastError(winsim::HasType(typeName) ? ERROR_RESOURCE_NAME_NOT_FOUND
                                               : ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(const_cast<winsim::Entry*>(entry));
}

HRSRC WINAPI FindResourceExA(HMODULE module, LPCSTR type, LPCSTR name, WORD language) {
    if (!winsim::IsOwnModule(module)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    winsim::ResourceName typeName = winsim::NameOf(type);
    winsim::ResourceName resourceName = winsim::NameOf(name);
    const winsim::Entry* entry = language == 0 ? winsim::FindEntry(typeName, resourceName, winsim::settings().language)
                                               : winsim::FindExact(typeName, resourceName, language);
    if (entry == nullptr) {
        SetLastError(!winsim::HasType(typeName) ? ERROR_RESOURCE_TYPE_NOT_FOUND
                     : winsim::FindEntry(typeName, resourceName, 0) ? ERROR_RESOURCE_LANG_NOT_FOUND
                                                                    : ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HRSRC>(const_cast<winsim::Entry*>(entry));
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
    (void)module;
    if (resource == nullptr) return nullptr;
    return const_cast<unsigned char*>(reinterpret_cast<winsim::Entry*>(resource)->data);
}

LPVOID WINAPI LockResource(HGLOBAL data) { return data; }

DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
    (void)module;
    if (resource == nullptr) return 0;
    return static_cast<DWORD>(reinterpret_cast<winsim::Entry*>(resource)->size);
}

int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    buffer[0] = '\0';
    HRSRC block = FindResourceA(instance, MAKEINTRESOURCEA((id >> 4) + 1), RT_STRING);
    if (block == nullptr) return 0;
    const winsim::Entry* entry = reinterpret_cast<winsim::Entry*>(block);
    // A block holds 16 counted UTF-16 strings.
    std::size_t pos = 0;
    for (UINT index = 0; index < (id & 15); ++index) {
        if (pos + 2 > entry->size) return 0;
        pos += 2 + 2 * static_cast<std::size_t>(winsim::ReadWord(entry->data + pos));
    }
    if (pos + 2 > entry->size) return 0;
    std::size_t length = winsim::ReadWord(entry->data + pos);
    if (pos + 2 + 2 * length > entry->size) return 0;
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char16_t>(winsim::ReadWord(entry->data + pos + 2 + 2 * i));
    std::string ansi = winsim::Utf16ToAnsi(text, winsim::ActiveCodePage());
    std::size_t copied = std::min(ansi.size(), static_cast<std::size_t>(bufferMax - 1));
    std::memcpy(buffer, ansi.data(), copied);
    buffer[copied] = '\0';
    if (length == 0) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return static_cast<int>(copied);
}

}  // extern "C"
