#include "platform/ExtentMap.h"

#include <gtest/gtest.h>

#include <vector>

namespace folivar::platform {
namespace {

using Extents = std::vector<Extent>;

TEST(ExtentMap, BytesStoredAlikeAreThoseAtTheSamePlaceForTheSameOffset) {
    struct Case {
        const char* what;
        Extents original;
        Extents duplicate;
        std::int64_t size;
        std::int64_t alike;
    };
    const Case cases[] = {
        {"one shared extent", {{0, 4096, 8192}}, {{0, 4096, 8192}}, 8192, 8192},
        {"own places", {{0, 4096, 8192}}, {{0, 65536, 8192}}, 8192, 0},
        {"the last block counts up to the end of the file",
         {{0, 4096, 8192}},
         {{0, 4096, 8192}},
         5000,
         5000},
        {"one run in the original, two in the copy",
         {{0, 4096, 8192}},
         {{0, 4096, 4096}, {4096, 8192, 4096}},
         8192,
         8192},
        {"only the first half shared",
         {{0, 4096, 8192}},
         {{0, 4096, 4096}, {4096, 900000, 4096}},
         8192,
         4096},
        {"the same place at another offset is no sharing",
         {{0, 4096, 4096}, {4096, 0, 4096}},
         {{0, 0, 4096}, {4096, 4096, 4096}},
         8192,
         0},
        {"a hole in the copy",
         {{0, 4096, 12288}},
         {{0, 4096, 4096}, {8192, 12288, 4096}},
         12288,
         8192},
        {"data kept inline is never shared", {{0, 0, 4096, false}}, {{0, 0, 4096, false}}, 100, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bytesStoredAlike(c.original, c.duplicate, c.size), c.alike) << c.what;
    }
}

TEST(ExtentMap, BytesPlacedLeaveOutHolesInlineDataAndWithExclusivePlacesOthersUse) {
    const Extents extents{{0, 4096, 4096, true, false},
                          {4096, 8192, 4096, true, true},
                          {12288, 0, 4096, false, false}};
    EXPECT_EQ(bytesPlaced(extents, 16384, false), 8192);
    EXPECT_EQ(bytesPlaced(extents, 16384, true), 4096);
    EXPECT_EQ(bytesPlaced(extents, 6000, false), 6000);
}

}  // namespace
}  // namespace folivar::platform
