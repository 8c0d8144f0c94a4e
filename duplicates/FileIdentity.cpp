#include "duplicates/FileIdentity.h"

namespace folivar {

FileIdentity FileIdentity::of(const platform::FileStatus& status) {
    return FileIdentity{status.device, status.inode, status.size, status.modificationTime,
                        status.changeTime};
}

bool FileIdentity::samePhysicalFile(const FileIdentity& other) const {
    if (device == other.device) {
        return inode == other.inode;
    }
    return size == other.size && modified == other.modified && changed == other.changed;
}

bool FileIdentity::sameUpToRename(const FileIdentity& now) const {
    return device == now.device && inode == now.inode && size == now.size &&
           modified == now.modified;
}

}  // namespace folivar
