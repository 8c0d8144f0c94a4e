#include "support/TreeSnapshot.h"

#include <filesystem>

#include "support/FileEdits.h"

namespace folivar::test {

TreeSnapshot snapshotOf(const std::string& root) {
    namespace fs = std::filesystem;
    TreeSnapshot snapshot;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string relative = fs::relative(it->path(), root).string();
        if (it->is_symlink()) {
            snapshot[relative] = "<link to " + fs::read_symlink(it->path()).string() + ">";
        } else if (it->is_directory()) {
            snapshot[relative] = "<folder>";
        } else {
            snapshot[relative] = contentsOf(it->path().string());
        }
    }
    return snapshot;
}

}  // namespace folivar::test
