#include "platform/ExtentMap.h"

#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace folivar::platform {

namespace {

constexpr unsigned kExtentsPerCall = 128;
constexpr std::uint32_t kNotPlaced = FIEMAP_EXTENT_UNKNOWN | FIEMAP_EXTENT_DELALLOC |
                                     FIEMAP_EXTENT_DATA_INLINE | FIEMAP_EXTENT_DATA_TAIL;

}  // namespace

std::optional<std::vector<Extent>> extentsOf(int fd) {
    const std::size_t bytes =
        sizeof(struct fiemap) + kExtentsPerCall * sizeof(struct fiemap_extent);
    auto buffer = std::make_unique<std::uint64_t[]>((bytes + 7) / 8);
    auto* map = reinterpret_cast<struct fiemap*>(buffer.get());
    std::vector<Extent> extents;
    __u64 start = 0;
    for (;;) {
        std::memset(map, 0, bytes);
        map->fm_start = start;
        map->fm_length = FIEMAP_MAX_OFFSET - start;
        map->fm_extent_count = kExtentsPerCall;
        if (::ioctl(fd, FS_IOC_FIEMAP, map) != 0) {
            return std::nullopt;
        }
        if (map->fm_mapped_extents == 0) {
            return extents;
        }
        for (unsigned i = 0; i < map->fm_mapped_extents; ++i) {
            const struct fiemap_extent& e = map->fm_extents[i];
            extents.push_back(Extent{
                static_cast<std::int64_t>(e.fe_logical), static_cast<std::int64_t>(e.fe_physical),
                static_cast<std::int64_t>(e.fe_length), (e.fe_flags & kNotPlaced) == 0,
                (e.fe_flags & FIEMAP_EXTENT_SHARED) != 0});
        }
        const struct fiemap_extent& last = map->fm_extents[map->fm_mapped_extents - 1];
        if ((last.fe_flags & FIEMAP_EXTENT_LAST) != 0) {
            return extents;
        }
        start = last.fe_logical + last.fe_length;
    }
}

std::int64_t bytesPlaced(const std::vector<Extent>& extents, std::int64_t size, bool exclusive) {
    std::int64_t placed = 0;
    for (const Extent& e : extents) {
        if (e.placed && !(exclusive && e.shared)) {
            placed += std::max<std::int64_t>(0, std::min(e.logical + e.length, size) - e.logical);
        }
    }
    return placed;
}

std::int64_t bytesStoredAlike(const std::vector<Extent>& original,
                              const std::vector<Extent>& duplicate, std::int64_t size) {
    std::int64_t alike = 0;
    std::size_t o = 0;
    for (const Extent& d : duplicate) {
        while (o < original.size() && original[o].logical + original[o].length <= d.logical) {
            ++o;
        }
        for (std::size_t k = o; k < original.size() && original[k].logical < d.logical + d.length;
             ++k) {
            const Extent& e = original[k];
            if (!d.placed || !e.placed || d.physical - d.logical != e.physical - e.logical) {
                continue;
            }
            const std::int64_t from = std::max(d.logical, e.logical);
            const std::int64_t to = std::min({d.logical + d.length, e.logical + e.length, size});
            alike += std::max<std::int64_t>(0, to - from);
        }
    }
    return alike;
}

}  // namespace folivar::platform
