#include "duplicates/FileIdentity.h"

#include <gtest/gtest.h>

namespace folivar {
namespace {

TEST(FileIdentity, OnePhysicalFileByDeviceAndInodeOrByStateOnTwoDevices) {
    const FileIdentity file{1, 77, 500, {1000, 5}, {2000, 6}};
    struct Case {
        const char* what;
        FileIdentity other;
        bool same;
    };
    const Case cases[] = {
        {"itself", file, true},
        {"another path to it, changed since", {1, 77, 9, {3000, 0}, {3000, 0}}, true},
        {"seen through a second mount", {2, 77, 500, {1000, 5}, {2000, 6}}, true},
        {"other inode", {1, 78, 500, {1000, 5}, {2000, 6}}, false},
        {"through an overlay with xino",
         {2, 77 | std::uint64_t{1} << 63, 500, {1000, 5}, {2000, 6}},
         true},
        {"other device, other inode, same state", {2, 12, 500, {1000, 5}, {2000, 6}}, true},
        {"other device, other size", {2, 77, 501, {1000, 5}, {2000, 6}}, false},
        {"other device, modified a nanosecond apart", {2, 77, 500, {1000, 6}, {2000, 6}}, false},
        {"other device, changed a nanosecond apart", {2, 77, 500, {1000, 5}, {2000, 7}}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(file.samePhysicalFile(c.other), c.same) << c.what;
        EXPECT_EQ(c.other.samePhysicalFile(file), c.same) << c.what;
    }
}

}  // namespace
}  // namespace folivar
