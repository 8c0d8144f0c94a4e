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
    if (!fd_.valid() || ::rename(path_.c_str(), path.c_str()) != 0) {
        ::unlink(path_.c_str());
        return false;
    }
    path_ = path;
    const Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder.valid() && ::fsync(folder.get()) == 0;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            return text;
        }
        text.append(chunk, static_cast<std::size_t>(n));
    }
}

bool appendToFile(const std::string& path, std::string_view text) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW));
    return fd.valid() && writeAll(fd.get(), text) && ::fdatasync(fd.get()) == 0 && fd.close();
}

}  // namespace folivar::platform
