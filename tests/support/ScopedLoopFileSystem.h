#pragma once

#include <string>

namespace folivar::test {

// A fresh file system of one kind ("btrfs", "xfs" with reflink, "ext4") made
// on an image beside a folder (where + ".img") and mounted on that folder
// through a loop device for the life of the object. Needs the right to mount,
// loop devices and the kind's mkfs (btrfs-progs, xfsprogs); mounted() tells
// whether it worked and why() why not.
class ScopedLoopFileSystem {
public:
    ScopedLoopFileSystem(const std::string& where, const std::string& kind);
    ~ScopedLoopFileSystem();
    ScopedLoopFileSystem(const ScopedLoopFileSystem&) = delete;
    ScopedLoopFileSystem& operator=(const ScopedLoopFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }

private:
    std::string where_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace folivar::test
