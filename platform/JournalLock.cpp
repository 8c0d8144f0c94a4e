#include "platform/JournalLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>

#include "platform/JournalFile.h"

namespace folivar::platform {

JournalLock::Result JournalLock::take(const std::string& folder, std::optional<JournalLock>& lock,
                                      std::string& why) {
    const std::string path = folder + "/" + kFileName;
    Descriptor fd;
    const JournalAccess access = openJournalFile(path, O_RDWR | O_CREAT, fd, why);
    if (access == JournalAccess::Missing) {
        return Result::NoFolder;
    }
    // A folder or file made read-only still locks by the file it holds.
    std::string readOnly;
    if (access == JournalAccess::Unusable &&
        openJournalFile(path, O_RDONLY, fd, readOnly) != JournalAccess::Opened) {
        return Result::Unusable;
    }
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            return Result::Busy;
        }
        if (errno != EINTR) {
            why = "cannot lock " + path + ": " + std::strerror(errno);
            return Result::Unusable;
        }
    }
    lock.emplace(JournalLock(std::move(fd)));
    return Result::Taken;
}

}  // namespace folivar::platform
