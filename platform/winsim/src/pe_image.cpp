// The parts of a PE image: DOS header, PE header, section table, import
// descriptors with their thunks, resource directory (type, name, language)
// and its data entries.
#include "winsim/pe_image.h"

#include <utility>

namespace winsim {
namespace {

const std::size_t kMaxNameLength = 1024;  // longest DLL or function name read
// Most directory entries walked when listing: directories that point at
// one another could otherwise make the walk go on without end.
const std::size_t kMaxResourceEntries = 65536;

// Bounded little-endian reads of the file image.
class Image {
public:
    explicit Image(const std::string& bytes) : bytes_(bytes) {}

    bool Has(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    bool Word(std::size_t offset, WORD* value) const {
        if (!Has(offset, 2)) return false;
        *value = static_cast<WORD>(Byte(offset) | (Byte(offset + 1) << 8));
        return true;
    }
    bool Dword(std::size_t offset, DWORD* value) const {
        if (!Has(offset, 4)) return false;
        *value = static_cast<DWORD>(Byte(offset) | (Byte(offset + 1) << 8) | (Byte(offset + 2) << 16) |
                                    (static_cast<DWORD>(Byte(offset + 3)) << 24));
        return true;
    }
    bool Qword(std::size_t offset, ULONGLONG* value) const {
        DWORD low, high;
        if (!Dword(offset, &low) || !Dword(offset + 4, &high)) return false;
        *value = (static_cast<ULONGLONG>(high) << 32) | low;
        return true;
    }
    unsigned Byte(std::size_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }

private:
    const std::string& bytes_;
};

// The bytes of a section that the file holds.
DWORD InFile(const PeSection& s) {
    return s.virtualSize != 0 && s.virtualSize < s.rawSize ? s.virtualSize : s.rawSize;
}

// The file offset of `length` bytes at a relative virtual address, when a
// section holds all of them in the file; *available is how many bytes of
// that section follow the offset.
bool MapRva(const Image& image, const std::vector<PeSection>& sections, DWORD rva, DWORD length,
            std::size_t* offset, DWORD* available = nullptr) {
    for (const PeSection& s : sections) {
        if (rva < s.virtualAddress) continue;
        const DWORD into = rva - s.virtualAddress;
        const DWORD inFile = InFile(s);
        if (into >= inFile || length > inFile - into) continue;
        const std::size_t fileOffset = static_cast<std::size_t>(s.rawOffset) + into;
        if (!image.Has(fileOffset, length)) return false;
        *offset = fileOffset;
        if (available != nullptr) {
            const std::size_t inImage = image.Has(fileOffset, inFile - into) ? inFile - into : 0;
            *available = static_cast<DWORD>(inImage);
        }
        return true;
    }
    return false;
}

// A zero-terminated 8-bit text at a relative virtual address.
bool ReadText(const Image& image, const std::vector<PeSection>& sections, DWORD rva, std::string* text) {
    std::size_t at;
    DWORD available;
    if (!MapRva(image, sections, rva, 1, &at, &available)) return false;
    text->clear();
    for (DWORD i = 0; i < available && i < kMaxNameLength; ++i) {
        const unsigned c = image.Byte(at + i);
        if (c == 0) return true;
        *text += static_cast<char>(c);
    }
    return false;
}

bool ReadHeaders(const Image& image, PeHeaders* h) {
    WORD magic;
    DWORD peOffset, signature;
    if (!image.Word(0, &magic) || magic != 0x5A4D) return false;  // "MZ"
    if (!image.Dword(0x3C, &peOffset) || !image.Dword(peOffset, &signature) || signature != 0x00004550) {
        return false;  // "PE\0\0"
    }
    const std::size_t fileHeader = static_cast<std::size_t>(peOffset) + 4;
    WORD sectionCount, optionalSize, optionalMagic;
    if (!image.Word(fileHeader, &h->machine) || !image.Word(fileHeader + 2, &sectionCount) ||
        !image.Word(fileHeader + 16, &optionalSize) || !image.Word(fileHeader + 18, &h->characteristics)) {
        return false;
    }
    const std::size_t optional = fileHeader + 20;
    if (!image.Word(optional, &optionalMagic)) return false;
    std::size_t directories;
    if (optionalMagic == 0x10B) {
        h->pe32plus = false;
        directories = 96;
    } else if (optionalMagic == 0x20B) {
        h->pe32plus = true;
        directories = 112;
    } else {
        return false;
    }
    if (directories > optionalSize || !image.Has(optional, optionalSize)) return false;
    DWORD imageBase32 = 0;
    if (h->pe32plus) {
        if (!image.Qword(optional + 24, &h->imageBase)) return false;
    } else {
        if (!image.Dword(optional + 28, &imageBase32)) return false;
        h->imageBase = imageBase32;
    }
    DWORD directoryCount;
    if (!image.Dword(optional + 16, &h->entryPoint) || !image.Dword(optional + 32, &h->sectionAlignment) ||
        !image.Dword(optional + 36, &h->fileAlignment) || !image.Word(optional + 40, &h->majorOsVersion) ||
        !image.Word(optional + 42, &h->minorOsVersion) || !image.Word(optional + 48, &h->majorSubsystemVersion) ||
        !image.Word(optional + 50, &h->minorSubsystemVersion) || !image.Dword(optional + 56, &h->sizeOfImage) ||
        !image.Dword(optional + 60, &h->sizeOfHeaders) || !image.Word(optional + 68, &h->subsystem) ||
        !image.Word(optional + 70, &h->dllCharacteristics) ||
        !image.Dword(optional + directories - 4, &directoryCount)) {
        return false;
    }
    h->directories.clear();
    for (DWORD i = 0; i < directoryCount && i < 16; ++i) {
        const std::size_t entry = directories + i * 8;
        if (entry + 8 > optionalSize) break;
        PeDirectory d;
        if (!image.Dword(optional + entry, &d.rva) || !image.Dword(optional + entry + 4, &d.size)) return false;
        h->directories.push_back(d);
    }
    const std::size_t table = optional + optionalSize;
    h->sections.clear();
    for (WORD i = 0; i < sectionCount; ++i) {
        const std::size_t header = table + static_cast<std::size_t>(i) * 40;
        PeSection s;
        if (!image.Has(header, 40)) return false;
        for (std::size_t c = 0; c < 8 && image.Byte(header + c) != 0; ++c) s.name += static_cast<char>(image.Byte(header + c));
        if (!image.Dword(header + 8, &s.virtualSize) || !image.Dword(header + 12, &s.virtualAddress) ||
            !image.Dword(header + 16, &s.rawSize) || !image.Dword(header + 20, &s.rawOffset) ||
            !image.Dword(header + 36, &s.characteristics)) {
            return false;
        }
        h->sections.push_back(s);
    }
    return true;
}

// The resource directory, one level at a time; offsets are bytes into it.
struct ResourceTree {
    const Image& image;
    const std::vector<PeSection>& sections;
    DWORD root;  // relative virtual address of the resource directory

    bool Read(DWORD offset, DWORD* value) const {
        std::size_t at;
        return offset <= 0xFFFFFFFFu - root && MapRva(image, sections, root + offset, 4, &at) &&
               image.Dword(at, value);
    }

    // The entries of a directory: (name or id word, offset word) pairs;
    // false when there are more than `limit`.
    bool Entries(DWORD directory, std::vector<std::pair<DWORD, DWORD>>* entries,
                 std::size_t limit = 0x20000) const {
        DWORD counts;
        if (directory > 0xFFFFFFFFu - 16 || !Read(directory + 12, &counts)) return false;
        const DWORD count = (counts & 0xFFFF) + (counts >> 16);
        if (count > limit) return false;
        for (DWORD i = 0; i < count; ++i) {
            DWORD name, offset;
            const DWORD at = directory + 16 + i * 8;
            if (at < directory || !Read(at, &name) || !Read(at + 4, &offset)) return false;
            entries->emplace_back(name, offset);
        }
        return true;
    }

    // The subdirectory of the entry with this numeric id, if any.
    bool FindId(DWORD directory, WORD id, bool wantDirectory, DWORD* offset, bool* malformed) const {
        std::vector<std::pair<DWORD, DWORD>> entries;
        if (!Entries(directory, &entries)) {
            *malformed = true;
            return false;
        }
        for (const auto& entry : entries) {
            if ((entry.first & 0x80000000u) || entry.first != id) continue;
            if (((entry.second & 0x80000000u) != 0) != wantDirectory) continue;
            *offset = entry.second & 0x7FFFFFFFu;
            return true;
        }
        return false;
    }

    // The id or name of an entry: a name is a counted UTF-16 text.
    bool Id(DWORD field, PeResourceId* id) const {
        id->isName = (field & 0x80000000u) != 0;
        if (!id->isName) {
            if (field > 0xFFFF) return false;
            id->id = static_cast<WORD>(field);
            return true;
        }
        const DWORD at = field & 0x7FFFFFFFu;
        std::size_t offset;
        WORD length;
        if (at > 0xFFFFFFFFu - root || !MapRva(image, sections, root + at, 2, &offset) ||
            !image.Word(offset, &length) ||
            !MapRva(image, sections, root + at, 2 + 2 * static_cast<DWORD>(length), &offset)) {
            return false;
        }
        id->name.clear();
        for (WORD i = 0; i < length; ++i) {
            WORD c;
            if (!image.Word(offset + 2 + 2 * static_cast<std::size_t>(i), &c)) return false;
            id->name += static_cast<char16_t>(c);
        }
        return true;
    }

    // The data entry at an offset: where the data lies in the file.
    bool Data(DWORD entry, PeResource* data) const {
        DWORD rva, size;
        std::size_t offset;
        if (entry > 0xFFFFFFFFu - 4 || !Read(entry, &rva) || !Read(entry + 4, &size) ||
            !MapRva(image, sections, rva, size, &offset)) {
            return false;
        }
        data->offset = offset;
        data->size = size;
        return true;
    }
};

bool ResourceRoot(const Image& image, PeHeaders* headers, DWORD* root) {
    if (!ReadHeaders(image, headers)) return false;
    const PeDirectory resources = headers->Directory(kPeResourceDirectory);
    if (resources.rva == 0 || resources.size == 0) return false;
    *root = resources.rva;
    return true;
}

}  // namespace

bool ReadPeHeaders(const std::string& bytes, PeHeaders* headers) {
    Image image(bytes);
    return ReadHeaders(image, headers);
}

bool ReadPeImports(const std::string& bytes, std::vector<PeImportedDll>* imports) {
    Image image(bytes);
    PeHeaders h;
    imports->clear();
    if (!ReadHeaders(image, &h)) return false;
    const PeDirectory table = h.Directory(kPeImportDirectory);
    if (table.rva == 0 && table.size == 0) return true;
    const DWORD thunkSize = h.pe32plus ? 8 : 4;
    // Descriptors of 20 bytes, closed by one that names no DLL.
    for (DWORD descriptor = table.rva;; descriptor += 20) {
        std::size_t at;
        DWORD lookup, nameRva, addresses;
        if (descriptor < table.rva || !MapRva(image, h.sections, descriptor, 20, &at) || !image.Dword(at, &lookup) ||
            !image.Dword(at + 12, &nameRva) || !image.Dword(at + 16, &addresses)) {
            return false;
        }
        if (nameRva == 0 && addresses == 0) return true;
        PeImportedDll dll;
        if (!ReadText(image, h.sections, nameRva, &dll.name)) return false;
        // The lookup table, else (older linkers) the address table itself.
        DWORD thunk = lookup != 0 ? lookup : addresses;
        for (;; thunk += thunkSize) {
            std::size_t entry;
            ULONGLONG value;
            DWORD low;
            if (thunk < thunkSize || !MapRva(image, h.sections, thunk, thunkSize, &entry)) return false;
            if (h.pe32plus) {
                if (!image.Qword(entry, &value)) return false;
            } else {
                if (!image.Dword(entry, &low)) return false;
                value = low;
            }
            if (value == 0) break;
            const ULONGLONG ordinalFlag = h.pe32plus ? 0x8000000000000000ull : 0x80000000ull;
            if (value & ordinalFlag) {
                dll.ordinals.push_back(static_cast<WORD>(value & 0xFFFF));
                continue;
            }
            // A hint word, then the name.
            if (value > 0xFFFFFFFFull - 2) return false;
            std::string function;
            if (!ReadText(image, h.sections, static_cast<DWORD>(value) + 2, &function)) return false;
            dll.functions.push_back(function);
        }
        imports->push_back(dll);
    }
}

bool ListPeResources(const std::string& bytes, std::vector<PeResourceEntry>* entries) {
    Image image(bytes);
    PeHeaders h;
    DWORD root;
    entries->clear();
    if (!ResourceRoot(image, &h, &root)) return false;
    ResourceTree tree{image, h.sections, root};
    // Three levels: type, name, language; the language entries lead to data.
    std::vector<std::pair<DWORD, DWORD>> types;
    if (!tree.Entries(0, &types, kMaxResourceEntries)) return false;
    std::size_t walked = types.size();
    for (const auto& type : types) {
        PeResourceEntry entry;
        std::vector<std::pair<DWORD, DWORD>> names;
        if (!(type.second & 0x80000000u) || !tree.Id(type.first, &entry.type) ||
            !tree.Entries(type.second & 0x7FFFFFFFu, &names, kMaxResourceEntries - walked)) {
            return false;
        }
        walked += names.size();
        for (const auto& name : names) {
            std::vector<std::pair<DWORD, DWORD>> languages;
            if (!(name.second & 0x80000000u) || !tree.Id(name.first, &entry.name) ||
                !tree.Entries(name.second & 0x7FFFFFFFu, &languages, kMaxResourceEntries - walked)) {
                return false;
            }
            walked += languages.size();
            for (const auto& language : languages) {
                if ((language.first & 0x80000000u) || language.first > 0xFFFF || (language.second & 0x80000000u) ||
                    !tree.Data(language.second, &entry.data)) {
                    return false;
                }
                entry.language = static_cast<WORD>(language.first);
                entries->push_back(entry);
            }
        }
    }
    return true;
}

DWORD FindPeResource(const std::string& bytes, WORD type, WORD name, LANGID language, PeResource* found) {
    Image image(bytes);
    PeHeaders h;
    DWORD root;
    if (!ResourceRoot(image, &h, &root)) return ERROR_RESOURCE_DATA_NOT_FOUND;
    ResourceTree tree{image, h.sections, root};
    bool malformed = false;
    DWORD typeDirectory, nameDirectory;
    if (!tree.FindId(0, type, true, &typeDirectory, &malformed)) {
        return malformed ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
    }
    if (!tree.FindId(typeDirectory, name, true, &nameDirectory, &malformed)) {
        return malformed ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_RESOURCE_NAME_NOT_FOUND;
    }
    // The language: the one asked for, its primary language, neutral,
    // English (United States), else the first one filed.
    std::vector<std::pair<DWORD, DWORD>> languages;
    if (!tree.Entries(nameDirectory, &languages)) return ERROR_RESOURCE_DATA_NOT_FOUND;
    const DWORD order[4] = {language, static_cast<DWORD>(MAKELANGID(PRIMARYLANGID(language), SUBLANG_DEFAULT)),
                            0, 0x0409};
    const std::pair<DWORD, DWORD>* chosen = nullptr;
    for (int i = 0; i < 4 && chosen == nullptr; ++i) {
        for (const auto& entry : languages) {
            if (!(entry.second & 0x80000000u) && entry.first == order[i]) {
                chosen = &entry;
                break;
            }
        }
    }
    for (const auto& entry : languages) {
        if (chosen == nullptr && !(entry.second & 0x80000000u)) chosen = &entry;
    }
    if (chosen == nullptr) return ERROR_RESOURCE_NAME_NOT_FOUND;
    PeResource data;
    if (!tree.Data(chosen->second, &data) || data.size == 0) return ERROR_RESOURCE_DATA_NOT_FOUND;
    *found = data;
    return ERROR_SUCCESS;
}

}  // namespace winsim
