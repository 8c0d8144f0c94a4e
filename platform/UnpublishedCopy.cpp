#include "platform/UnpublishedCopy.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <vector>

#include "platform/HiddenName.h"
#include "platform/ProvenRemoval.h"

namespace folivar::platform {

namespace {

std::atomic<bool> unnamedAllowed{true};

constexpr std::size_t kBufferSize = std::size_t{1} << 20;
// Bytes one copy_file_range call may copy: between two calls a stop is seen.
constexpr std::size_t kKernelChunk = std::size_t{4} << 20;

bool syncFolder(const std::string& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.valid() && ::fsync(dir.get()) == 0;
}

// Copies [offset, offset + length) of in to the same place in out: in the
// kernel where it offers that across these two file systems, else through a
// buffer, a chunk at a time. False on a read or write failure, or when asked
// to stop before a chunk; a source that got shorter ends early (the check of
// its state afterwards sees it).
class RangeCopier {
public:
    explicit RangeCopier(StopQuery& stop) : stop_(stop) {}

    bool copy(int in, int out, off_t offset, off_t length) {
        while (length > 0 && kernelCopies_) {
            if (stop_.stopRequested()) {
                return false;
            }
            off_t from = offset;
            off_t to = offset;
            const ssize_t n = ::copy_file_range(
                in, &from, out, &to,
                static_cast<std::size_t>(std::min(length, static_cast<off_t>(kKernelChunk))), 0);
            if (n > 0) {
                offset += n;
                length -= n;
            } else if (n == 0) {
                return true;
            } else if (errno == EINTR) {
                continue;
            } else if (errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                       errno == EOPNOTSUPP || errno == EBADF) {
                kernelCopies_ = false;
            } else {
                return false;
            }
        }
        if (length > 0 && !buffer_) {
            buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
        }
        while (length > 0) {
            if (stop_.stopRequested()) {
                return false;
            }
            const auto want =
                static_cast<std::size_t>(std::min<off_t>(length, static_cast<off_t>(kBufferSize)));
            const ssize_t n = ::pread(in, buffer_.get(), want, offset);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return n == 0;
            }
            for (ssize_t written = 0; written < n;) {
                const ssize_t w = ::pwrite(out, buffer_.get() + written,
                                           static_cast<std::size_t>(n - written), offset + written);
                if (w < 0 && errno == EINTR) {
                    continue;
                }
                if (w <= 0) {
                    return false;
                }
                written += w;
            }
            offset += n;
            length -= n;
        }
        return true;
    }

private:
    StopQuery& stop_;
    bool kernelCopies_ = true;
    std::unique_ptr<char[]> buffer_;
};

// Copies the data of in and leaves its holes as holes: only the ranges that
// SEEK_DATA / SEEK_HOLE name as data are written, and the size is set last.
bool copyWithHoles(int in, int out, off_t size, StopQuery& stop) {
    RangeCopier copier(stop);
    off_t position = 0;
    while (position < size) {
        off_t data = ::lseek(in, position, SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO) {
                break;  // nothing but a hole up to the end
            }
            if (errno != EINVAL && errno != EOPNOTSUPP) {
                return false;
            }
            data = position;  // holes are not told here: all of it is data
        }
        off_t hole = data < size ? ::lseek(in, data, SEEK_HOLE) : size;
        if (hole < 0 || hole > size) {
            hole = size;
        }
        if (data >= size) {
            break;
        }
        if (!copier.copy(in, out, data, hole - data)) {
            return false;
        }
        position = hole;
    }
    return ::ftruncate(out, size) == 0;
}

// Extended attributes the destination refuses are left behind: it cannot
// hold them (another kind of file system, or only the system may set them).
bool refusedByDestination(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP || error == EPERM || error == EACCES ||
           error == ENOSPC || error == E2BIG || error == EINVAL || error == ERANGE;
}

bool copyExtendedAttributes(int in, int out) {
    ssize_t listSize = ::flistxattr(in, nullptr, 0);
    if (listSize < 0) {
        return errno == ENOTSUP || errno == EOPNOTSUPP;
    }
    std::vector<char> names(static_cast<std::size_t>(listSize) + 1);
    listSize = ::flistxattr(in, names.data(), names.size());
    if (listSize < 0) {
        return false;
    }
    std::vector<char> value;
    for (const char* name = names.data(); name < names.data() + listSize;
         name += std::char_traits<char>::length(name) + 1) {
        const ssize_t valueSize = ::fgetxattr(in, name, nullptr, 0);
        if (valueSize < 0) {
            if (errno == ENODATA) {
                continue;
            }
            return false;
        }
        value.resize(static_cast<std::size_t>(valueSize) + 1);
        const ssize_t got = ::fgetxattr(in, name, value.data(), value.size());
        if (got < 0) {
            return false;
        }
        if (::fsetxattr(out, name, value.data(), static_cast<std::size_t>(got), 0) != 0 &&
            !refusedByDestination(errno)) {
            return false;
        }
    }
    return true;
}

}  // namespace

void UnpublishedCopy::setUnnamedAllowed(bool allowed) {
    unnamedAllowed = allowed;
}

UnpublishedCopy::UnpublishedCopy(std::string destination) : destination_(std::move(destination)) {
    if (unnamedAllowed) {
        out_ = Descriptor(
            ::open(folderOf(destination_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (out_.valid() || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
            return;
        }
    }
    for (int attempt = 0; attempt < 8 && !out_.valid(); ++attempt) {
        temporary_ = hiddenSibling(destination_, "folivar-partial");
        out_ = Descriptor(
            ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
        if (!out_.valid() && errno != EEXIST) {
            break;
        }
    }
    if (!out_.valid()) {
        temporary_.clear();
    }
}

UnpublishedCopy::~UnpublishedCopy() {
    if (!published_ && !temporary_.empty()) {
        struct stat own {};
        if (out_.valid() && ::fstat(out_.get(), &own) == 0) {
            removeIfStill(temporary_, own);
        }
    }
}

bool UnpublishedCopy::fill(int in, const struct stat& source, StopQuery& stop) {
    if (!valid()) {
        return false;
    }
    ::posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL);
    // The flush of a large copy may take long on a slow disk: a stop asked
    // for until then is still seen before it.
    if (!copyWithHoles(in, out_.get(), source.st_size, stop) || stop.stopRequested()) {
        return false;
    }
    // Owner and group as before where allowed (only root may give a file
    // away); before the mode, since a change of owner clears set-user-ID.
    if (::fchown(out_.get(), source.st_uid, source.st_gid) != 0 && errno != EPERM) {
        return false;
    }
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    return copyExtendedAttributes(in, out_.get()) &&
           ::fchmod(out_.get(), source.st_mode & 07777) == 0 &&
           ::futimens(out_.get(), times) == 0 && ::fsync(out_.get()) == 0;
}

bool UnpublishedCopy::publish() {
    if (!valid() || published_) {
        return false;
    }
    if (temporary_.empty()) {
        // linkat refuses a taken name. Through /proc no privilege is needed;
        // AT_EMPTY_PATH serves where /proc is not mounted.
        const std::string self = "/proc/self/fd/" + std::to_string(out_.get());
        published_ = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, destination_.c_str(),
                              AT_SYMLINK_FOLLOW) == 0 ||
                     (errno == ENOENT &&
                      ::linkat(out_.get(), "", AT_FDCWD, destination_.c_str(), AT_EMPTY_PATH) == 0);
    } else {
        published_ = renameWithoutReplacing(temporary_, destination_);
    }
    if (published_ && !syncFolder(folderOf(destination_))) {
        // Under its name, but not known to be on disk: taken back.
        struct stat own {};
        if (state(own) && removeIfStill(destination_, own) == RemovalOutcome::Removed) {
            published_ = false;
        }
        return false;
    }
    return published_;
}

bool UnpublishedCopy::state(struct stat& out) const {
    return valid() && ::fstat(out_.get(), &out) == 0;
}

}  // namespace folivar::platform
