// The size of the shipped Install.EXE, which must stay within 64 KiB: the
// figure, what each section holds and what the resources take, printed
// with the test output.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "shipped_image.h"
#include "winsim/pe_image.h"

namespace {

const std::size_t kLimit = 65536;

const char* ResourceTypeName(WORD type) {
    switch (type) {
        case 3: return "icon images";
        case 5: return "dialog templates";
        case 6: return "string tables";
        case 14: return "icon group";
        case 16: return "version block";
        default: return "other";
    }
}

TEST(ShippedSizeTest, InstallExeFitsIn64KiB) {
    const std::string& image = ShippedImage();
    ASSERT_FALSE(image.empty());
    winsim::PeHeaders h;
    ASSERT_TRUE(winsim::ReadPeHeaders(image, &h));
    std::printf("Install.EXE: %zu bytes, limit %zu, %ld below it\n", image.size(), kLimit,
                static_cast<long>(kLimit) - static_cast<long>(image.size()));
    std::printf("  %-8s %6u bytes in the file\n", "headers", h.sizeOfHeaders);
    for (const winsim::PeSection& s : h.sections) {
        std::printf("  %-8s %6u bytes in the file, %6u used\n", s.name.c_str(), s.rawSize, s.virtualSize);
    }
    std::vector<winsim::PeResourceEntry> resources;
    if (winsim::ListPeResources(image, &resources)) {
        std::map<std::string, std::size_t> byType;
        for (const winsim::PeResourceEntry& r : resources) byType[ResourceTypeName(r.type.isName ? 0 : r.type.id)] += r.data.size;
        for (const auto& type : byType) std::printf("  resources: %-16s %6zu bytes\n", type.first.c_str(), type.second);
    }
    RecordProperty("bytes", static_cast<int>(image.size()));
    EXPECT_LE(image.size(), kLimit);
}

}  // namespace
