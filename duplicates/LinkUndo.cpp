#include "duplicates/LinkUndo.h"

#include "platform/FileSystem.h"
#include "platform/HiddenCopy.h"
#include "renaming/BatchUndo.h"

namespace folivar {

namespace {

bool isFile(const platform::FileStatus& status, const MovedIdentity& file) {
    return status.isRegular() && status.device == file.device && status.inode == file.inode;
}

bool unchanged(const platform::FileStatus& status, const MovedIdentity& file) {
    return isFile(status, file) && MovedIdentity::of(status).sameState(file);
}

// The name is one more name of the original, as the link made it: it goes.
void removeFurtherName(const std::string& name, const MovedIdentity& original) {
    platform::FileStatus status;
    if (platform::fileSystem().status(name, false, status) && isFile(status, original) &&
        status.links > 1) {
        platform::fileSystem().removeFile(name);
    }
}

// The name leads to the original, unchanged: a copy of its own swapped in.
const char* giveOwnCopy(const JournaledLink& link) {
    auto& fs = platform::fileSystem();
    const std::string copy =
        platform::copyBeside(link.path, "folivar-unlinking", link.duplicate.modified);
    platform::FileStatus made;
    if (copy.empty() || !fs.status(copy, false, made)) {
        return kNotRestoredFailed;
    }
    if (fs.exchangeNames(copy, link.path) != platform::ExchangeResult::Exchanged) {
        fs.removeFile(copy);  // ours, never published under any other name
        return kNotRestoredFailed;
    }
    platform::FileStatus taken;
    if (fs.status(copy, false, taken) && unchanged(taken, link.originalFile)) {
        removeFurtherName(copy, link.originalFile);
        return kRestored;
    }
    // Something else took the name meanwhile: it gets it back, the copy goes.
    if (fs.exchangeNames(copy, link.path) == platform::ExchangeResult::Exchanged &&
        fs.status(copy, false, taken) && taken.device == made.device && taken.inode == made.inode) {
        fs.removeFile(copy);
    }
    return kNotRestoredChanged;
}

}  // namespace

const char* undoLink(const JournaledLink& link) {
    auto& fs = platform::fileSystem();
    platform::FileStatus name;
    platform::FileStatus aside;
    const bool named = fs.status(link.path, false, name);
    const bool hidden = fs.status(link.aside, false, aside);
    if (named && hidden && isFile(aside, link.duplicate) && isFile(name, link.originalFile)) {
        // Killed between the swap and the removal: swapped back, the
        // duplicate has its name again.
        if (fs.exchangeNames(link.aside, link.path) != platform::ExchangeResult::Exchanged) {
            return kNotRestoredFailed;
        }
        removeFurtherName(link.aside, link.originalFile);
        return kRestored;
    }
    if (hidden) {
        removeFurtherName(link.aside, link.originalFile);  // killed before the swap
    }
    if (!named) {
        return link.recorded ? kNotRestoredGone : nullptr;
    }
    if (isFile(name, link.originalFile)) {
        return unchanged(name, link.originalFile) ? giveOwnCopy(link) : kNotRestoredChanged;
    }
    if (unchanged(name, link.duplicate)) {
        return link.recorded ? kRestored : nullptr;  // never linked, or swapped back
    }
    // A file of its own, as an undo cut short after the swap left it (an
    // inode number may come again: the state tells).
    if (MovedIdentity::of(name).sameState(link.duplicate)) {
        return kRestored;
    }
    return link.recorded ? kNotRestoredChanged : nullptr;
}

}  // namespace folivar
