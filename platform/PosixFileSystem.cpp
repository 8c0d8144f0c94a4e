#include "platform/PosixFileSystem.h"

#include "platform/Descriptor.h"
#include "platform/PosixMove.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace folivar::platform {

namespace {

FileTime toFileTime(const struct statx_timestamp& t) {
    return FileTime{t.tv_sec, static_cast<std::int32_t>(t.tv_nsec)};
}

constexpr unsigned kStatxMask = STATX_BASIC_STATS | STATX_BTIME;

bool statxAt(int dirfd, const char* name, bool follow, FileStatus& out) {
    struct statx stx {};
    int flags = AT_NO_AUTOMOUNT | (follow ? 0 : AT_SYMLINK_NOFOLLOW);
    if (name[0] == '\0') {
        flags |= AT_EMPTY_PATH;
    }
    if (::statx(dirfd, name, flags, kStatxMask, &stx) != 0) {
        return false;
    }
    out.device = makedev(stx.stx_dev_major, stx.stx_dev_minor);
    out.inode = stx.stx_ino;
    out.mode = stx.stx_mode;
    out.owner = stx.stx_uid;
    out.group = stx.stx_gid;
    out.links = stx.stx_nlink;
    out.size = static_cast<std::int64_t>(stx.stx_size);
    out.hasBirthTime = (stx.stx_mask & STATX_BTIME) != 0;
    out.birthTime = out.hasBirthTime ? toFileTime(stx.stx_btime) : FileTime{};
    out.changeTime = toFileTime(stx.stx_ctime);
    out.accessTime = toFileTime(stx.stx_atime);
    out.modificationTime = toFileTime(stx.stx_mtime);
    return true;
}

// Not in every linux/magic.h.
constexpr unsigned long kConfigFsMagic = 0x62656570;
constexpr unsigned long kFuseControlMagic = 0x65735543;

// File systems whose files the kernel makes up as they are read: their sizes
// say nothing (often 0 or 4096) and equal texts are no copies of each other.
bool onPseudoFileSystem(int fd) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0) {
        return true;  // unknown: not worth the risk
    }
    switch (static_cast<unsigned long>(info.f_type)) {
        case PROC_SUPER_MAGIC:
        case SYSFS_MAGIC:
        case DEBUGFS_MAGIC:
        case TRACEFS_MAGIC:
        case SECURITYFS_MAGIC:
        case SELINUX_MAGIC:
        case SMACK_MAGIC:
        case CGROUP_SUPER_MAGIC:
        case CGROUP2_SUPER_MAGIC:
        case kConfigFsMagic:
        case PSTOREFS_MAGIC:
        case EFIVARFS_MAGIC:
        case BPF_FS_MAGIC:
        case BINFMTFS_MAGIC:
        case RDTGROUP_SUPER_MAGIC:
        case NSFS_MAGIC:
        case kFuseControlMagic:
            return true;
        default:
            return false;
    }
}

EntryKind kindOf(unsigned char type) {
    switch (type) {
        case DT_DIR:
            return EntryKind::Directory;
        case DT_REG:
            return EntryKind::Regular;
        case DT_LNK:
            return EntryKind::SymbolicLink;
        case DT_UNKNOWN:
            return EntryKind::Unknown;
        default:
            return EntryKind::Other;
    }
}

class PosixFileReader : public FileReader {
public:
    PosixFileReader(int fd, const FileStatus& status) : fd_(fd), status_(status) {}
    ~PosixFileReader() override { ::close(fd_); }
    PosixFileReader(const PosixFileReader&) = delete;
    PosixFileReader& operator=(const PosixFileReader&) = delete;

    const FileStatus& status() const override { return status_; }

    std::int64_t read(char* buffer, std::size_t size) override {
        std::size_t done = 0;
        while (done < size) {  // fill the whole request unless the file ends
            const ssize_t n = ::read(fd_, buffer + done, size - done);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return -1;
            }
            if (n == 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        return static_cast<std::int64_t>(done);
    }

    void willNeed(std::int64_t offset, std::int64_t length) override {
        ::posix_fadvise(fd_, offset, length, POSIX_FADV_WILLNEED);
    }

private:
    int fd_;
    FileStatus status_;
};

class PosixDirectoryListing : public DirectoryListing {
public:
    PosixDirectoryListing(int fd, const struct stat& self)
        : fd_(fd), device_(self.st_dev), inode_(self.st_ino), buffer_(new char[kBufferSize]) {}
    ~PosixDirectoryListing() override { ::close(fd_); }
    PosixDirectoryListing(const PosixDirectoryListing&) = delete;
    PosixDirectoryListing& operator=(const PosixDirectoryListing&) = delete;

    std::uint64_t device() const override { return device_; }
    std::uint64_t inode() const override { return inode_; }

    bool next(DirectoryEntry& entry) override {
        for (;;) {
            if (offset_ >= filled_) {
                if (ended_) {
                    return false;
                }
                ssize_t n = ::getdents64(fd_, buffer_.get(), kBufferSize);
                if (n <= 0) {
                    ended_ = true;  // end of the listing, or a read failure
                    return false;
                }
                filled_ = static_cast<std::size_t>(n);
                offset_ = 0;
            }
            const auto* d = reinterpret_cast<const struct dirent64*>(buffer_.get() + offset_);
            offset_ += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                continue;
            }
            entry.name = std::string_view(name, std::strlen(name));
            entry.kind = kindOf(d->d_type);
            return true;
        }
    }

    bool status(const DirectoryEntry& entry, bool follow, FileStatus& out) override {
        return statxAt(fd_, entry.name.data(), follow, out);
    }

private:
    static constexpr std::size_t kBufferSize = 32 * 1024;
    int fd_;
    std::uint64_t device_;
    std::uint64_t inode_;
    std::unique_ptr<char[]> buffer_;  // not cleared: getdents64 fills what it hands back
    std::size_t filled_ = 0;
    std::size_t offset_ = 0;
    bool ended_ = false;
};

// The folder name inside parent, never through a link: a descriptor only
// for finding names in it, or -1 when it is not a folder.
int openFolderAt(int parent, const char* name) {
    const int fd = ::openat(parent, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    FileStatus st;
    if (fd >= 0 && (!statxAt(fd, "", false, st) || !st.isDirectory())) {
        ::close(fd);
        errno = ENOTDIR;
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<DirectoryListing> PosixFileSystem::openDirectory(const std::string& path,
                                                                 OpenFailure& failure) {
    failure = OpenFailure::Unreadable;
    if (path.empty()) {
        return nullptr;
    }
    // Opened as "folder/.", so a folder that can be read but not entered (no
    // search permission: no entry's status could be had) is refused here.
    const std::string inside = path + (path.back() == '/' ? "." : "/.");
    int fd = ::open(inside.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == EMFILE || errno == ENFILE) {
            failure = OpenFailure::OutOfDescriptors;
        }
        return nullptr;
    }
    struct stat self {};
    if (::fstat(fd, &self) != 0) {
        ::close(fd);
        return nullptr;
    }
    failure = OpenFailure::None;
    return std::make_unique<PosixDirectoryListing>(fd, self);
}

bool PosixFileSystem::status(const std::string& path, bool follow, FileStatus& out) {
    if (path.empty()) {
        return false;
    }
    return statxAt(AT_FDCWD, path.c_str(), follow, out);
}

std::optional<std::string> PosixFileSystem::canonicalPath(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        return std::nullopt;
    }
    return std::string(resolved.get());
}

bool PosixFileSystem::moveFile(const std::string& from, const std::string& to, StopQuery& stop) {
    return posixMoveFile(from, to, stop);
}

std::unique_ptr<FileReader> PosixFileSystem::openForReading(const std::string& path,
                                                            OpenFailure& failure) {
    failure = OpenFailure::Unreadable;
    // O_NONBLOCK: opening a FIFO must never wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == EMFILE || errno == ENFILE) {
            failure = OpenFailure::OutOfDescriptors;
        }
        return nullptr;
    }
    FileStatus st;
    if (!statxAt(fd, "", true, st) || !st.isRegular() || onPseudoFileSystem(fd)) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, 0);  // a regular file: back to plain blocking reads
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    failure = OpenFailure::None;
    return std::make_unique<PosixFileReader>(fd, st);
}

bool PosixFileSystem::removeFile(const std::string& path) {
    return !path.empty() && ::unlink(path.c_str()) == 0;
}

Descriptor PosixFileSystem::openToShare(const std::string& path, FileStatus& status) {
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
    // O_NOATIME is refused unless this user owns the file.
    int fd = ::open(path.c_str(), kFlags | O_NOATIME);
    if (fd < 0 && errno == EPERM) {
        fd = ::open(path.c_str(), kFlags);
    }
    Descriptor file(fd);
    if (!file.valid() || !statxAt(fd, "", true, status) || !status.isRegular() ||
        onPseudoFileSystem(fd)) {
        return Descriptor();
    }
    return file;
}

RangeSharing PosixFileSystem::shareRange(int original, int duplicate, std::int64_t offset,
                                         std::int64_t length) {
    return shareDataRange(original, duplicate, offset, length);
}

bool PosixFileSystem::hardLink(const std::string& existing, const std::string& name) {
    return ::linkat(AT_FDCWD, existing.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

ExchangeResult PosixFileSystem::exchangeNames(const std::string& a, const std::string& b) {
    return platform::exchangeNames(a, b);
}

FolderAccess PosixFileSystem::folderAccess(const std::string& path) {
    FolderAccess access;
    const char* folder = path.empty() ? "." : path.c_str();
    struct stat self {};
    struct statvfs mount {};
    struct statfs kind {};
    if (::stat(folder, &self) != 0 || !S_ISDIR(self.st_mode) || ::statvfs(folder, &mount) != 0) {
        return access;
    }
    access.exists = true;
    access.readOnlyMount = (mount.f_flag & ST_RDONLY) != 0;
    // As the run's own calls are checked: with the effective user and groups.
    access.mayChangeNames =
        !access.readOnlyMount && ::faccessat(AT_FDCWD, folder, W_OK | X_OK, AT_EACCESS) == 0;
    access.inUserSpace =
        ::statfs(folder, &kind) == 0 && static_cast<unsigned long>(kind.f_type) == FUSE_SUPER_MAGIC;
    return access;
}

bool PosixFileSystem::makeFolders(const std::string& folder, std::size_t kept,
                                  FolderMaking* listener) {
    kept = std::min(kept, folder.size());
    const std::string base = kept == 0 ? std::string(".") : folder.substr(0, kept);
    Descriptor parent(::open(base.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!parent.valid()) {
        return false;
    }
    std::size_t at = kept;
    while (at < folder.size()) {
        const std::size_t slash = std::min(folder.find('/', at), folder.size());
        const std::string name = folder.substr(at, slash - at);
        at = slash + 1;
        if (name.empty()) {
            continue;
        }
        int fd = openFolderAt(parent.get(), name.c_str());
        if (fd < 0 && errno == ENOENT) {
            const std::string path = folder.substr(0, std::min(at, folder.size()));
            if (listener != nullptr) {
                listener->before(path);
            }
            const bool made = ::mkdirat(parent.get(), name.c_str(), 0777) == 0;
            fd = openFolderAt(parent.get(), name.c_str());
            FileStatus st;
            const bool seen = made && fd >= 0 && statxAt(fd, "", false, st);
            if (listener != nullptr) {
                listener->after(path, seen ? &st : nullptr);
            }
        }
        if (fd < 0) {
            return false;
        }
        parent = Descriptor(fd);
    }
    return true;
}

bool PosixFileSystem::removeFolder(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();  // "link/" would name the folder the link leads to
    }
    return !folder.empty() && ::rmdir(folder.c_str()) == 0;
}

}  // namespace folivar::platform
