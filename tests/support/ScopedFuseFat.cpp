#include "support/ScopedFuseFat.h"

#include <sys/mount.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace folivar::test {

namespace {

constexpr long kFuseMagic = 0x65735546;

// Runs a program with its arguments, its output thrown away; true when it
// ended well.
bool run(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

ScopedFuseFat::ScopedFuseFat(const std::string& where) : where_(where) {
    const std::string image = where + ".img";
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        why_ = "/dev/fuse cannot be opened here";
    } else if (!run("truncate -s 8M '" + image + "' && mkfs.vfat '" + image + "'")) {
        why_ = "no FAT image could be made (mkfs.vfat from dosfstools)";
    } else if (!run("fusefat -o rw+ '" + image + "' '" + where + "'")) {
        why_ = "fusefat could not mount the image (package fusefat)";
    } else {
        struct statfs info {};
        mounted_ = ::statfs(where.c_str(), &info) == 0 && info.f_type == kFuseMagic;
        if (!mounted_) {
            why_ = "fusefat ended without a mount";
        }
    }
}

ScopedFuseFat::~ScopedFuseFat() {
    if (mounted_) {
        ::umount2(where_.c_str(), MNT_DETACH);
    }
}

}  // namespace folivar::test
