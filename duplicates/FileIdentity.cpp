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

}  // namespace folivar
