#pragma once

namespace folivar::platform {

// What the user may do in a folder, as far as it can be told without trying:
// what a preview of moves into or out of it needs to know.
struct FolderAccess {
    bool exists = false;
    // Its mount is read-only: no name there can be added or removed.
    bool readOnlyMount = false;
    // This user may add and remove names there (write and search permission).
    bool mayChangeNames = false;
    // A file system in user space (FUSE: FAT, exFAT, phones, network
    // shares): whether it renames without replacing, links, or takes a copy
    // whole is known only by trying.
    bool inUserSpace = false;
};

}  // namespace folivar::platform
