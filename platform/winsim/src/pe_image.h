// Reading resources out of a PE file image (PE32 and PE32+), as the
// version calls need them. The image is untrusted input: every offset,
// count and size in it is checked against the bytes that are there.
#pragma once

#include <cstddef>
#include <string>

#include "windows.h"

namespace winsim {

struct PeResource {
    std::size_t offset = 0;  // file offset of the resource's data
    std::size_t size = 0;
};

// Finds the resource of numeric type and name in the image, in `language`
// if filed under it, else the way FindResource falls back (primary
// language, neutral, English (United States), then the first filed).
// ERROR_SUCCESS, or ERROR_RESOURCE_DATA_NOT_FOUND (not a PE image, no
// resource section, or one that cannot be read),
// ERROR_RESOURCE_TYPE_NOT_FOUND, ERROR_RESOURCE_NAME_NOT_FOUND.
DWORD FindPeResource(const std::string& image, WORD type, WORD name, LANGID language,
                     PeResource* found);

}  // namespace winsim
