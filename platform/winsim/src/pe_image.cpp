// The resource tree of a PE image: DOS header, PE header, section table,
// resource directory (type, name, language), data entry.
#include "pe_image.h"

#include <vector>

namespace winsim {
namespace {

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

private:
    unsigned Byte(std::size_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }
    const std::string& bytes_;
};

struct Section {
    DWORD virtualAddress = 0;
    DWORD inFile = 0;  // bytes of the section that the file holds
    DWORD rawOffset = 0;
};

// The file offset of `length` bytes at a relative virtual address, when a
// section holds all of them in the file.
bool MapRva(const Image& image, const std::vector<Section>& sections, DWORD rva, DWORD length,
            std::size_t* offset) {
    for (const Section& s : sections) {
        if (rva < s.virtualAddress) continue;
        DWORD into = rva - s.virtualAddress;
        if (into >= s.inFile || length > s.inFile - into) continue;
        std::size_t fileOffset = static_cast<std::size_t>(s.rawOffset) + into;
        if (!image.Has(fileOffset, length)) return false;
        *offset = fileOffset;
        return true;
    }
    return false;
}

// The resource directory's relative virtual address, and the sections.
bool ReadHeaders(const Image& image, DWORD* resourceRva, std::vector<Section>* sections) {
    WORD magic;
    DWORD peOffset, signature;
    if (!image.Word(0, &magic) || magic != 0x5A4D) return false;  // "MZ"
    if (!image.Dword(0x3C, &peOffset) || !image.Dword(peOffset, &signature) || signature != 0x00004550) {
        return false;  // "PE\0\0"
    }
    const std::size_t fileHeader = static_cast<std::size_t>(peOffset) + 4;
    WORD sectionCount, optionalSize, optionalMagic;
    if (!image.Word(fileHeader + 2, &sectionCount) || !image.Word(fileHeader + 16, &optionalSize)) return false;
    const std::size_t optional = fileHeader + 20;
    if (!image.Word(optional, &optionalMagic)) return false;
    std::size_t directories;
    if (optionalMagic == 0x10B) {
        directories = 96;  // PE32
    } else if (optionalMagic == 0x20B) {
        directories = 112;  // PE32+
    } else {
        return false;
    }
    DWORD directoryCount, resourceSize;
    const std::size_t resourceEntry = directories + 2 * 8;
    if (!image.Dword(optional + directories - 4, &directoryCount) || directoryCount < 3 ||
        resourceEntry + 8 > optionalSize || !image.Dword(optional + resourceEntry, resourceRva) ||
        !image.Dword(optional + resourceEntry + 4, &resourceSize) || *resourceRva == 0 || resourceSize == 0) {
        return false;
    }
    const std::size_t table = optional + optionalSize;
    for (WORD i = 0; i < sectionCount; ++i) {
        const std::size_t header = table + static_cast<std::size_t>(i) * 40;
        DWORD virtualSize, rawSize;
        Section s;
        if (!image.Dword(header + 8, &virtualSize) || !image.Dword(header + 12, &s.virtualAddress) ||
            !image.Dword(header + 16, &rawSize) || !image.Dword(header + 20, &s.rawOffset)) {
            return false;
        }
        s.inFile = virtualSize != 0 && virtualSize < rawSize ? virtualSize : rawSize;
        sections->push_back(s);
    }
    return true;
}

// One level of the resource directory, at `directory` bytes into it.
struct Level {
    const Image& image;
    const std::vector<Section>& sections;
    DWORD root;  // relative virtual address of the resource directory

    bool Read(DWORD offset, DWORD* value) const {
        std::size_t at;
        return offset <= 0xFFFFFFFFu - root && MapRva(image, sections, root + offset, 4, &at) &&
               image.Dword(at, value);
    }

    // The entries of a directory: (name or id word, offset word) pairs.
    bool Entries(DWORD directory, std::vector<std::pair<DWORD, DWORD>>* entries) const {
        DWORD counts;
        if (directory > 0xFFFFFFFFu - 16 || !Read(directory + 12, &counts)) return false;
        const DWORD count = (counts & 0xFFFF) + (counts >> 16);
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
};

}  // namespace

DWORD FindPeResource(const std::string& bytes, WORD type, WORD name, LANGID language, PeResource* found) {
    Image image(bytes);
    DWORD rootRva;
    std::vector<Section> sections;
    if (!ReadHeaders(image, &rootRva, &sections)) return ERROR_RESOURCE_DATA_NOT_FOUND;
    Level level{image, sections, rootRva};
    bool malformed = false;
    DWORD typeDirectory, nameDirectory;
    if (!level.FindId(0, type, true, &typeDirectory, &malformed)) {
        return malformed ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
    }
    if (!level.FindId(typeDirectory, name, true, &nameDirectory, &malformed)) {
        return malformed ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_RESOURCE_NAME_NOT_FOUND;
    }
    // The language: the one asked for, its primary language, neutral,
    // English (United States), else the first one filed.
    std::vector<std::pair<DWORD, DWORD>> languages;
    if (!level.Entries(nameDirectory, &languages)) return ERROR_RESOURCE_DATA_NOT_FOUND;
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
    // The data entry: relative virtual address and size of the data.
    DWORD dataRva, dataSize;
    if (!level.Read(chosen->second, &dataRva) || chosen->second > 0xFFFFFFFFu - 4 ||
        !level.Read(chosen->second + 4, &dataSize)) {
        return ERROR_RESOURCE_DATA_NOT_FOUND;
    }
    std::size_t offset;
    if (dataSize == 0 || !MapRva(image, sections, dataRva, dataSize, &offset)) return ERROR_RESOURCE_DATA_NOT_FOUND;
    found->offset = offset;
    found->size = dataSize;
    return ERROR_SUCCESS;
}

}  // namespace winsim
