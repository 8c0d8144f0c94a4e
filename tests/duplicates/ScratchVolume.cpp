#include "ScratchVolume.h"

#include <filesystem>
#include <fstream>

namespace folivar::test {

ScratchVolume::ScratchVolume(const std::string& kind) : path_(tree_.dir("volume")) {
    if (kind == "tmpfs") {
        tmpfs_.emplace(path_, "256m");
        mounted_ = tmpfs_->mounted();
        why_ = "cannot mount a tmpfs here (needs the right to mount)";
    } else {
        image_.emplace(path_, kind);
        mounted_ = image_->mounted();
        why_ = image_->why();
    }
}

std::string ScratchVolume::file(const std::string& relative, const std::string& contents) {
    const std::string path = at(relative);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

}  // namespace folivar::test
