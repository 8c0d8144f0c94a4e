#pragma once

#include <string>

namespace folivar::test {

// A small tmpfs mounted on a folder for the life of the object, so a move into
// it crosses file systems. Needs the right to mount (root in CI); mounted()
// tells whether it worked.
class ScopedTmpfs {
public:
    ScopedTmpfs(const std::string& where, const std::string& size);
    ~ScopedTmpfs();
    ScopedTmpfs(const ScopedTmpfs&) = delete;
    ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    // Nothing can be written on it from now on; false when that failed.
    bool remountReadOnly();

private:
    std::string where_;
    bool mounted_ = false;
};

}  // namespace folivar::test
