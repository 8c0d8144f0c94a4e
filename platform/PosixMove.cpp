#include "platform/PosixMove.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/Descriptor.h"
#include "platform/ProvenRemoval.h"
#include "platform/UnpublishedCopy.h"

namespace folivar::platform {

namespace {

MoveStepHook& stepHook() {
    static MoveStepHook hook;
    return hook;
}

void reach(MoveStep step, const std::string& from) {
    if (stepHook()) {
        stepHook()(step, from);
    }
}

// Removes the source once the copy carries its final name; when the source
// is not provably the file copied, the copy goes again and the move fails.
bool finishMove(const std::string& from, const struct stat& copied, const std::string& to,
                const struct stat& copy) {
    reach(MoveStep::Copied, from);
    if (removeIfStill(from, copied) == RemovalOutcome::Removed) {
        return true;
    }
    removeIfStill(to, copy);  // keep exactly one copy: the original
    return false;
}

bool moveLinkAcross(const std::string& from, const struct stat& link, const std::string& to) {
    // A link moves as a link: the same target text at the new place.
    std::vector<char> target(static_cast<std::size_t>(link.st_size) + 1);
    const ssize_t n = ::readlink(from.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) {
        return false;
    }
    target[static_cast<std::size_t>(n)] = '\0';
    struct stat made {};
    if (::symlink(target.data(), to.c_str()) != 0) {
        return false;
    }
    if (::lstat(to.c_str(), &made) != 0) {
        return false;
    }
    return finishMove(from, link, to, made);
}

// The copy route: across file systems, and within one that can neither
// rename without replacing nor make a hard link.
bool moveByCopy(const std::string& from, const std::string& to, StopQuery& stop) {
    struct stat link {};
    if (::lstat(from.c_str(), &link) != 0) {
        return false;
    }
    if (S_ISLNK(link.st_mode)) {
        return moveLinkAcross(from, link, to);
    }
    Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    struct stat before {};
    if (!in.valid() || ::fstat(in.get(), &before) != 0 || !S_ISREG(before.st_mode)) {
        return false;
    }
    UnpublishedCopy copy(to);
    if (!copy.valid()) {
        return false;  // the folder is gone or refuses: nothing of ours is there
    }
    reach(MoveStep::Copying, from);
    struct stat after {};
    // A source that changed while it was copied is not the file that was
    // listed: its state, change time included, must be as before.
    if (!copy.fill(in.get(), before, stop) || ::fstat(in.get(), &after) != 0 ||
        !unchangedFile(before, after) || !copy.publish()) {
        return false;
    }
    struct stat made {};
    if (!copy.state(made)) {
        return false;
    }
    return finishMove(from, before, to, made);
}

// Within one file system where RENAME_NOREPLACE is not offered: a hard link
// (refused when the name is taken), then the old name, if it still is that
// file. Where hard links are not offered either (FAT, exFAT, phones and
// network shares through FUSE), the copy route, which never replaces anything
// and fails where the file system cannot publish a copy without replacing.
bool moveWithoutNoReplace(const std::string& from, const std::string& to, StopQuery& stop) {
    struct stat source {};
    if (::lstat(from.c_str(), &source) != 0 || S_ISDIR(source.st_mode)) {
        return false;
    }
    if (::link(from.c_str(), to.c_str()) == 0) {
        struct stat linked {};
        if (::lstat(to.c_str(), &linked) == 0 && linked.st_ino == source.st_ino &&
            removeIfStill(from, linked) == RemovalOutcome::Removed) {
            return true;
        }
        if (::lstat(to.c_str(), &linked) == 0) {
            removeIfStill(to, linked);
        }
        return false;
    }
    switch (errno) {
        case EXDEV:
        case EPERM:  // FAT through FUSE; also where protected_hardlinks refuses
        case ENOSYS:
        case EOPNOTSUPP:
        case EMLINK:
            return moveByCopy(from, to, stop);
        default:
            return false;  // the name is taken, or the folders refuse
    }
}

}  // namespace

MoveStepHook setMoveStepHook(MoveStepHook hook) {
    MoveStepHook previous = std::move(stepHook());
    stepHook() = std::move(hook);
    return previous;
}

bool posixMoveFile(const std::string& from, const std::string& to, StopQuery& stop) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno == EXDEV) {
        return moveByCopy(from, to, stop);
    }
    if (errno == EINVAL || errno == ENOSYS) {
        return moveWithoutNoReplace(from, to, stop);  // no RENAME_NOREPLACE on this file system
    }
    return false;
}

}  // namespace folivar::platform
