#include "platform/PosixMove.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace folivar::platform {

namespace {

// Closes a descriptor when it goes out of scope, unless released.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (a late write error shows here).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool syncFolder(const std::string& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.valid() && ::fsync(dir.get()) == 0;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool copyContents(int in, int out, std::int64_t size) {
    // copy_file_range first: the kernel may copy without passing through here.
    std::int64_t left = size;
    while (left > 0) {
        const ssize_t n =
            ::copy_file_range(in, nullptr, out, nullptr, static_cast<std::size_t>(left), 0);
        if (n > 0) {
            left -= n;
            continue;
        }
        if (n == 0) {
            break;  // the source got shorter; the size check afterwards sees it
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
            break;  // not offered here: copy by hand from where it stopped
        }
        return false;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            return true;
        }
        if (!writeAll(out, buffer.data(), static_cast<std::size_t>(n))) {
            return false;
        }
    }
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// Copies a regular file into a new destination; true with the copy complete
// and on disk. On false nothing is left at the destination.
bool copyRegularFile(const std::string& from, const std::string& to) {
    Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat before {};
    if (!in.valid() || ::fstat(in.get(), &before) != 0 || !S_ISREG(before.st_mode)) {
        return false;
    }
    Descriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          before.st_mode & 07777));
    if (!out.valid()) {
        return false;  // taken, or the folder is gone: nothing of ours is there
    }
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    struct stat after {};
    // Owner and group as before where allowed (only root may give a file away).
    if (::fchown(out.get(), before.st_uid, before.st_gid) != 0 && errno != EPERM) {
        ::unlink(to.c_str());
        return false;
    }
    bool ok = copyContents(in.get(), out.get(), before.st_size) &&
              ::fchmod(out.get(), before.st_mode & 07777) == 0 &&
              ::futimens(out.get(), times) == 0 && ::fsync(out.get()) == 0;
    ok = out.close() && ok;
    // A source that changed while it was copied is not the file that was listed.
    ok = ok && ::fstat(in.get(), &after) == 0 && sameFile(before, after);
    struct stat copied {};
    ok = ok && ::stat(to.c_str(), &copied) == 0 && copied.st_size == before.st_size;
    ok = ok && syncFolder(folderOf(to));
    if (!ok) {
        ::unlink(to.c_str());
        return false;
    }
    return true;
}

bool moveAcrossFileSystems(const std::string& from, const std::string& to) {
    struct stat link {};
    if (::lstat(from.c_str(), &link) != 0) {
        return false;
    }
    if (S_ISLNK(link.st_mode)) {
        // A link moves as a link: the same target text at the new place.
        std::vector<char> target(static_cast<std::size_t>(link.st_size) + 1);
        const ssize_t n = ::readlink(from.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) {
            return false;
        }
        target[static_cast<std::size_t>(n)] = '\0';
        if (::symlink(target.data(), to.c_str()) != 0) {
            return false;
        }
    } else if (!copyRegularFile(from, to)) {
        return false;
    }
    if (::unlink(from.c_str()) != 0) {
        ::unlink(to.c_str());  // keep exactly one copy: the original
        return false;
    }
    return true;
}

// Renames where the file system cannot refuse to replace by itself: an empty
// placeholder is created exclusively, so the rename replaces only our own file.
bool renameOverPlaceholder(const std::string& from, const std::string& to) {
    Descriptor placeholder(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!placeholder.valid()) {
        return false;
    }
    placeholder.close();
    if (::rename(from.c_str(), to.c_str()) != 0) {
        ::unlink(to.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool posixMoveFile(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno == EXDEV) {
        return moveAcrossFileSystems(from, to);
    }
    if (errno == EINVAL || errno == ENOSYS) {
        // No RENAME_NOREPLACE on this file system.
        struct stat source {};
        if (::lstat(from.c_str(), &source) != 0 || S_ISDIR(source.st_mode)) {
            return false;
        }
        if (::link(from.c_str(), to.c_str()) == 0) {
            if (::unlink(from.c_str()) == 0) {
                return true;
            }
            ::unlink(to.c_str());
            return false;
        }
        if (errno == EXDEV) {
            return moveAcrossFileSystems(from, to);
        }
        if (errno == EEXIST) {
            return false;
        }
        return renameOverPlaceholder(from, to);
    }
    return false;
}

}  // namespace folivar::platform
