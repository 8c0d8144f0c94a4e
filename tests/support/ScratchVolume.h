#pragma once

#include <optional>
#include <string>

#include "support/ScopedTmpfs.h"
#include "support/TempTree.h"

namespace folivar::test {

// A fresh, empty file system of one kind on a folder for the life of the
// object: "tmpfs", or an "ext4", "btrfs" or "xfs" (with reflink) image
// mounted through a loop device. Needs the right to mount, loop devices and
// the kind's mkfs (btrfs-progs, xfsprogs); mounted() tells whether it could
// be had here and why() why not.
class ScratchVolume {
public:
    explicit ScratchVolume(const std::string& kind);
    ~ScratchVolume();
    ScratchVolume(const ScratchVolume&) = delete;
    ScratchVolume& operator=(const ScratchVolume&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }
    // The folder, without a trailing "/".
    const std::string& path() const { return path_; }
    std::string at(const std::string& relative) const { return path_ + "/" + relative; }
    // Creates the file (and its folders) with the contents; returns its full path.
    std::string file(const std::string& relative, const std::string& contents);

private:
    TempTree tree_;  // made first, removed last: after the unmount
    std::string path_;
    std::optional<ScopedTmpfs> tmpfs_;
    bool mounted_ = false;
    bool image_ = false;
    std::string why_;
};

}  // namespace folivar::test
