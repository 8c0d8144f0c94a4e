#include "support/ScratchVolume.h"

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

ScratchVolume::ScratchVolume(const std::string& kind) : path_(tree_.dir("volume")) {
    if (kind == "tmpfs") {
        tmpfs_.emplace(path_, "256m");
        mounted_ = tmpfs_->mounted();
        why_ = "cannot mount a tmpfs here (needs the right to mount)";
        return;
    }
    const std::string image = tree_.at("volume.img");
    const auto maker = kMakers.find(kind);
    if (maker == kMakers.end()) {
        why_ = "no maker for a " + kind + " file system";
    } else if (::access("/dev/loop-control", R_OK | W_OK) != 0) {
        why_ = "no loop devices here (/dev/loop-control cannot be opened)";
    } else if (!run("truncate -s 320M '" + image + "' && " + maker->second + " '" + image + "'")) {
        why_ = "no " + kind + " image could be made (" + maker->second +
               " missing? scripts/setup-debian.sh installs it)";
    } else if (!run("mount -t " + kind + " -o loop '" + image + "' '" + path_ + "'")) {
        why_ = "the " + kind + " image could not be mounted (needs root and a free loop device)";
    } else {
        mounted_ = image_ = true;
    }
}

ScratchVolume::~ScratchVolume() {
    if (image_) {
        // The loop device goes with the last use of the mount.
        ::umount2(path_.c_str(), MNT_DETACH);
    }
}

std::string ScratchVolume::file(const std::string& relative, const std::string& contents) {
    const std::string path = at(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

}  // namespace folivar::test
