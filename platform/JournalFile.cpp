#include "platform/JournalFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/HiddenName.h"
#include "platform/PosixMove.h"

namespace folivar::platform {

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

constexpr char kTemporaryPrefix[] = ".journal-";
// A temporary journal this old was left by a run killed while writing it.
constexpr std::time_t kStaleSeconds = 600;

void removeStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, kTemporaryPrefix, sizeof kTemporaryPrefix - 1) != 0) {
            continue;
        }
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && now - st.st_mtime > kStaleSeconds) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

}  // namespace

std::optional<JournalFile> JournalFile::createIn(const std::string& folder, std::string& why) {
    removeStaleTemporaries(folder);
    std::string pattern = folder + "/" + kTemporaryPrefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    // mkstemp makes the file 0600 and exclusively: nobody else's file is written.
    const int fd = ::mkostemp(buffer.data(), O_CLOEXEC | O_APPEND);
    if (fd < 0) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    return JournalFile(Descriptor(fd), std::string(buffer.data()));
}

bool JournalFile::append(std::string_view bytes) {
    return fd_.valid() && writeAll(fd_.get(), bytes);
}

bool JournalFile::sync() {
    return fd_.valid() && ::fdatasync(fd_.get()) == 0;
}

bool JournalFile::publishAs(const std::string& path) {
    if (!fd_.valid() || !posixMoveFile(path_, path)) {
        ::unlink(path_.c_str());
        return false;
    }
    path_ = path;
    const Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder.valid() && ::fsync(folder.get()) == 0;
}

void JournalFile::discard() {
    ::unlink(path_.c_str());
    fd_ = Descriptor();
}

JournalAccess openJournalFile(const std::string& path, int flags, Descriptor& fd,
                              std::string& why) {
    fd = Descriptor(::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600));
    if (!fd.valid()) {
        if (errno == ENOENT) {
            return JournalAccess::Missing;
        }
        why = errno == ELOOP || errno == ENXIO || errno == EISDIR
                  ? path + " is not a regular file of yours"
                  : path + ": " + std::strerror(errno);
        return JournalAccess::Unusable;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        fd = Descriptor();
        why = path + " is not a regular file of yours";
        return JournalAccess::Unusable;
    }
    return JournalAccess::Opened;
}

namespace {

// Up to count bytes from offset: fewer at the end of the file.
bool readAt(int fd, std::string& out, std::size_t count, off_t offset) {
    out.resize(count);
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n =
            ::pread(fd, out.data() + got, count - got, offset + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            out.resize(got);
            return n == 0;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool readToEnd(int fd, std::string& out) {
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0;
        }
        out.append(chunk, static_cast<std::size_t>(n));
    }
}

}  // namespace

JournalRead readJournalFile(const std::string& path) {
    JournalRead read;
    Descriptor fd;
    read.access = openJournalFile(path, O_RDONLY, fd, read.why);
    if (read.access == JournalAccess::Opened && !readToEnd(fd.get(), read.text)) {
        read.access = JournalAccess::Unusable;
        read.why = path + ": " + std::strerror(errno);
    }
    return read;
}

JournalRead readJournalEnds(const std::string& path, std::size_t head, std::size_t tail) {
    JournalRead read;
    Descriptor fd;
    read.access = openJournalFile(path, O_RDONLY, fd, read.why);
    if (read.access != JournalAccess::Opened) {
        return read;
    }
    struct stat st {};
    const bool ok =
        ::fstat(fd.get(), &st) == 0 && readAt(fd.get(), read.text, head, 0) &&
        readAt(fd.get(), read.tail, tail,
               st.st_size > static_cast<off_t>(tail) ? st.st_size - static_cast<off_t>(tail) : 0);
    if (!ok) {
        read.access = JournalAccess::Unusable;
        read.why = path + ": " + std::strerror(errno);
    }
    return read;
}

bool appendToJournal(const std::string& path, std::string_view text) {
    Descriptor fd;
    std::string why;
    return openJournalFile(path, O_WRONLY | O_APPEND, fd, why) == JournalAccess::Opened &&
           writeAll(fd.get(), text) && ::fdatasync(fd.get()) == 0 && fd.close();
}

void removeJournalFile(const std::string& path) {
    ::unlink(path.c_str());
}

std::optional<std::vector<std::string>> namesIn(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    return names;
}

}  // namespace folivar::platform
