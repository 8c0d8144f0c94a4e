#include "duplicates/FileIdentity.h"

namespace folivar {

FileIdentity FileIdentity::of(const platform::FileStatus& status) {
    return FileIdentity{status.device, status.inode, status.size, status.modificationTime.seconds,
                        status.modificationTime.nanoseconds};
}

}  // namespace folivar
