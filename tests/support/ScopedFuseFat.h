#pragma once

#include <string>

namespace folivar::test {

// A small FAT file system mounted through FUSE (fusefat) on a folder for the
// life of the object: one that offers neither RENAME_NOREPLACE nor hard
// links nor ftruncate, as exFAT, phones and network shares through FUSE.
// Needs /dev/fuse, mkfs.vfat and fusefat; mounted() tells whether it worked
// and why() why not.
class ScopedFuseFat {
public:
    // The image lives beside the folder, as where + ".img".
    explicit ScopedFuseFat(const std::string& where);
    ~ScopedFuseFat();
    ScopedFuseFat(const ScopedFuseFat&) = delete;
    ScopedFuseFat& operator=(const ScopedFuseFat&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }

private:
    std::string where_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace folivar::test
