#include "platform/HiddenCopy.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/Descriptor.h"
#include "platform/HiddenName.h"
#include "platform/ProvenRemoval.h"
#include "platform/UnpublishedCopy.h"

namespace folivar::platform {

std::string copyBeside(const std::string& path, const char* tag, const FileTime& modified) {
    Descriptor in(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat before {};
    if (!in.valid() || ::fstat(in.get(), &before) != 0 || !S_ISREG(before.st_mode)) {
        return {};
    }
    const std::string hidden = hiddenSibling(path, tag);
    UnpublishedCopy copy(hidden);
    struct stat wanted = before;
    wanted.st_mtim.tv_sec = static_cast<time_t>(modified.seconds);
    wanted.st_mtim.tv_nsec = static_cast<long>(modified.nanoseconds);
    struct stat after {};
    if (!copy.fill(in.get(), wanted) || ::fstat(in.get(), &after) != 0 ||
        !unchangedFile(before, after) || !copy.publish()) {
        return {};
    }
    return hidden;
}

}  // namespace folivar::platform
