// Reading a PE file image (PE32 and PE32+): its headers and sections, its
// import table and its resources. The version calls read other programs'
// version resources with it; the tests of the shipped Install.EXE read
// that file with it. The image is untrusted input: every offset, count and
// size in it is checked against the bytes that are there.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "../windows.h"

namespace winsim {

struct PeSection {
    std::string name;  // up to 8 characters
    DWORD virtualAddress = 0;
    DWORD virtualSize = 0;
    DWORD rawOffset = 0;
    DWORD rawSize = 0;
    DWORD characteristics = 0;
};

// A data directory entry: relative virtual address and size (0, 0 when
// the image has none of that kind).
struct PeDirectory {
    DWORD rva = 0;
    DWORD size = 0;
};

// Indexes of the data directories.
enum PeDirectoryIndex {
    kPeExportDirectory = 0,
    kPeImportDirectory = 1,
    kPeResourceDirectory = 2,
    kPeExceptionDirectory = 3,
    kPeSecurityDirectory = 4,
    kPeRelocationDirectory = 5,
    kPeDebugDirectory = 6,
    kPeTlsDirectory = 9,
    kPeLoadConfigDirectory = 10,
    kPeBoundImportDirectory = 11,
    kPeDelayImportDirectory = 13,
    kPeClrDirectory = 14,
};

struct PeHeaders {
    WORD machine = 0;
    WORD characteristics = 0;
    bool pe32plus = false;
    ULONGLONG imageBase = 0;
    DWORD entryPoint = 0;  // relative virtual address
    DWORD sectionAlignment = 0;
    DWORD fileAlignment = 0;
    WORD majorOsVersion = 0, minorOsVersion = 0;
    WORD majorSubsystemVersion = 0, minorSubsystemVersion = 0;
    WORD subsystem = 0;
    WORD dllCharacteristics = 0;
    DWORD sizeOfHeaders = 0;
    DWORD sizeOfImage = 0;
    std::vector<PeDirectory> directories;  // as many as the header declares, at most 16
    std::vector<PeSection> sections;

    PeDirectory Directory(int index) const {
        return index >= 0 && static_cast<std::size_t>(index) < directories.size() ? directories[index]
                                                                                 : PeDirectory();
    }
};

// False when the bytes are not a PE image whose headers and section table
// lie inside them.
bool ReadPeHeaders(const std::string& image, PeHeaders* headers);

// One DLL of the import table, with what is imported from it.
struct PeImportedDll {
    std::string name;
    std::vector<std::string> functions;  // imported by name
    std::vector<WORD> ordinals;          // imported by ordinal
};

// The import table in its own order; false when the image has a table
// that cannot be read whole. An image without imports gives an empty list.
bool ReadPeImports(const std::string& image, std::vector<PeImportedDll>* imports);

struct PeResource {
    std::size_t offset = 0;  // file offset of the resource's data
    std::size_t size = 0;
};

// A type or name of the resource tree: a numeric id or a name.
struct PeResourceId {
    bool isName = false;
    WORD id = 0;
    std::u16string name;
};

struct PeResourceEntry {
    PeResourceId type;
    PeResourceId name;
    WORD language = 0;
    PeResource data;
};

// Every resource of the image, in the order of its tree; false when the
// image has no resource section or one that cannot be read whole.
bool ListPeResources(const std::string& image, std::vector<PeResourceEntry>* entries);

// Finds the resource of numeric type and name in the image, in `language`
// if filed under it, else the way FindResource falls back (primary
// language, neutral, English (United States), then the first filed).
// ERROR_SUCCESS, or ERROR_RESOURCE_DATA_NOT_FOUND (not a PE image, no
// resource section, or one that cannot be read),
// ERROR_RESOURCE_TYPE_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND.
DWORD FindPeResource(const std::string& image, WORD type, WORD name, LANGID language,
                     PeResource* found);

}  // namespace winsim
