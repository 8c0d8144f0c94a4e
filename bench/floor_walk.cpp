// floor_walk ROOT
//
// The least work a single-threaded walk can do for "every regular file named
// *.jpg, with size and modification time": getdents64 into one buffer, a FIFO
// queue of folders, d_type to tell folders and regular files apart, a suffix
// check, and one statx per match. Symbolic links are not followed. It is the
// floor the engine is measured against, not a tool.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <string>
#include <string_view>

#include "LineWriter.h"

namespace {

bool endsWithJpg(std::string_view name) {
    if (name.size() < 4) {
        return false;
    }
    const char* s = name.data() + name.size() - 4;
    auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    return s[0] == '.' && lower(s[1]) == 'j' && lower(s[2]) == 'p' && lower(s[3]) == 'g';
}

unsigned char typeOf(int dirfd, const char* name) {
    struct stat st {};
    if (::fstatat(dirfd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return DT_UNKNOWN;
    }
    if (S_ISDIR(st.st_mode)) {
        return DT_DIR;
    }
    return S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s ROOT\n", argv[0]);
        return 2;
    }

    folivar::bench::LineWriter out(1);
    alignas(8) static char buffer[64 * 1024];
    std::deque<std::string> queue{argv[1]};
    int status = 0;

    while (!queue.empty()) {
        std::string folder = std::move(queue.front());
        queue.pop_front();
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            std::perror(folder.c_str());
            status = 1;
            continue;
        }
        if (folder.back() != '/') {
            folder += '/';
        }
        for (;;) {
            const ssize_t filled = ::getdents64(fd, buffer, sizeof buffer);
            if (filled <= 0) {
                if (filled < 0) {
                    std::perror(folder.c_str());
                    status = 1;
                }
                break;
            }
            for (ssize_t offset = 0; offset < filled;) {
                const auto* d = reinterpret_cast<const struct dirent64*>(buffer + offset);
                offset += d->d_reclen;
                const char* name = d->d_name;
                if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
                    continue;
                }
                const unsigned char type = d->d_type == DT_UNKNOWN ? typeOf(fd, name) : d->d_type;
                const std::string_view nameView(name, std::strlen(name));
                if (type == DT_DIR) {
                    queue.push_back(folder + std::string(nameView));
                    continue;
                }
                if (type != DT_REG || !endsWithJpg(nameView)) {
                    continue;
                }
                struct statx stx {};
                if (::statx(fd, name, AT_SYMLINK_NOFOLLOW, STATX_SIZE | STATX_MTIME, &stx) != 0) {
                    continue;  // gone since it was listed
                }
                const auto seconds = static_cast<std::time_t>(stx.stx_mtime.tv_sec);
                std::tm tm{};
                ::localtime_r(&seconds, &tm);
                out.line(folder, nameView, static_cast<std::int64_t>(stx.stx_size),
                         {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                          tm.tm_sec});
            }
        }
        ::close(fd);
    }
    if (!out.flush()) {
        std::perror("write");
        return 2;
    }
    return status;
}
