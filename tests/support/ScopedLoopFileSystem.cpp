#include "support/ScopedLoopFileSystem.h"

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

namespace folivar::test {

namespace {

bool run(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// XFS takes no less than 300 MiB; the image is sparse and costs what is written.
const std::map<std::string, std::string> kMakers = {
    {"btrfs", "mkfs.btrfs -q -f"},
    {"xfs", "mkfs.xfs -q -f -m reflink=1"},
    {"ext4", "mkfs.ext4 -q -F"},
};

}  // namespace

ScopedLoopFileSystem::ScopedLoopFileSystem(const std::string& where, const std::string& kind)
    : where_(where) {
    const std::string image = where + ".img";
    const auto maker = kMakers.find(kind);
    if (maker == kMakers.end()) {
        why_ = "no maker for a " + kind + " file system";
    } else if (::access("/dev/loop-control", R_OK | W_OK) != 0) {
        why_ = "no loop devices here (/dev/loop-control cannot be opened)";
    } else if (!run("truncate -s 320M '" + image + "' && " + maker->second + " '" + image + "'")) {
        why_ = "no " + kind + " image could be made (" +
               maker->second.substr(0, maker->second.find(' ')) +
               " missing? scripts/setup-debian.sh installs it)";
    } else if (!run("mount -t " + kind + " -o loop '" + image + "' '" + where + "'")) {
        why_ = "the " + kind + " image could not be mounted (needs root and a free loop device)";
    } else {
        mounted_ = true;
    }
}

ScopedLoopFileSystem::~ScopedLoopFileSystem() {
    if (mounted_) {
        // The loop device goes with the last use of the mount.
        ::umount2(where_.c_str(), MNT_DETACH);
    }
}

}  // namespace folivar::test
