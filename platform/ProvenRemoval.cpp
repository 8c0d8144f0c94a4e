#include "platform/ProvenRemoval.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/HiddenName.h"

namespace folivar::platform {

namespace {

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool samePhysicalFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_mode == b.st_mode;
}

// Takes path aside to a fresh hidden name: the name used, "" when the file
// could not be taken aside, nullopt where the file system cannot rename
// without replacing (FAT, exFAT and network shares through FUSE).
std::optional<std::string> takeAside(const std::string& path) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string aside = hiddenSibling(path, "folivar-removing");
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
            return aside;
        }
        if (errno == EINVAL || errno == ENOSYS) {
            return std::nullopt;
        }
        if (errno != EEXIST) {
            return std::string();
        }
    }
    return std::string();
}

}  // namespace

bool unchangedFile(const struct stat& before, const struct stat& now) {
    return samePhysicalFile(before, now) && before.st_size == now.st_size &&
           sameTime(before.st_mtim, now.st_mtim) && sameTime(before.st_ctim, now.st_ctim);
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A hard link is refused when the name is taken; the old name is ours.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

RemovalOutcome removeIfStill(const std::string& path, const struct stat& expected) {
    struct stat now {};
    if (::lstat(path.c_str(), &now) != 0) {
        return RemovalOutcome::Failed;
    }
    if (!unchangedFile(expected, now)) {
        return RemovalOutcome::NotTheFile;
    }
    const std::optional<std::string> takenAside = takeAside(path);
    if (!takenAside) {
        // Nothing here renames without replacing, and a replacing rename is
        // never made: the name just compared is removed as it stands.
        return ::unlink(path.c_str()) == 0 ? RemovalOutcome::Removed : RemovalOutcome::Failed;
    }
    const std::string& aside = *takenAside;
    if (aside.empty()) {
        return RemovalOutcome::Failed;
    }
    struct stat taken {};
    const bool same = ::lstat(aside.c_str(), &taken) == 0 && samePhysicalFile(expected, taken) &&
                      taken.st_size == expected.st_size &&
                      sameTime(taken.st_mtim, expected.st_mtim);
    if (same && ::unlink(aside.c_str()) == 0) {
        return RemovalOutcome::Removed;
    }
    renameWithoutReplacing(aside, path);
    return same ? RemovalOutcome::Failed : RemovalOutcome::NotTheFile;
}

}  // namespace folivar::platform
