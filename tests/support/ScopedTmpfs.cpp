#include "support/ScopedTmpfs.h"

#include <sys/mount.h>

namespace folivar::test {

ScopedTmpfs::ScopedTmpfs(const std::string& where, const std::string& size) : where_(where) {
    mounted_ = ::mount("tmpfs", where.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
}

bool ScopedTmpfs::remountReadOnly() {
    return mounted_ &&
           ::mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

ScopedTmpfs::~ScopedTmpfs() {
    if (mounted_) {
        ::umount2(where_.c_str(), MNT_DETACH);
    }
}

}  // namespace folivar::test
