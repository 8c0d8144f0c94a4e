#include "duplicates/InPlaceLink.h"

#include "platform/FileSystem.h"

namespace folivar {

namespace {

bool statusOf(const std::string& path, bool follow, FileIdentity& identity,
              platform::FileStatus& status) {
    if (!platform::fileSystem().status(path, follow, status) || !status.isRegular()) {
        return false;
    }
    identity = FileIdentity::of(status);
    return true;
}

}  // namespace

bool InPlaceLink::check(const std::string& duplicate, const DuplicateRecords::Pair& pair) {
    pair_ = pair;
    givenBack_ = 0;
    platform::FileStatus copy;
    platform::FileStatus original;
    FileIdentity now;
    // The duplicate by its own name, not through a link: that name is swapped.
    if (pair.duplicate.device != pair.original.device || !statusOf(duplicate, false, now, copy) ||
        now != pair.duplicate || !statusOf(pair.originalPath, true, now, original) ||
        now != pair.original) {
        return false;
    }
    // Its name would take the original's owner and permissions: only where
    // they are the same does linking keep who may read and change it.
    constexpr std::uint32_t kPermissions = 07777;
    return (copy.mode & kPermissions) == (original.mode & kPermissions) &&
           copy.owner == original.owner && copy.group == original.group;
}

LinkResult InPlaceLink::make(const LinkStep& step) {
    auto& fs = platform::fileSystem();
    if (!fs.hardLink(step.original, step.aside)) {
        return LinkResult::Remained;
    }
    platform::FileStatus status;
    FileIdentity linked;
    // The link must lead to the original compared, not to what its name may
    // lead to by now. Removing the hidden name takes away only a name.
    if (!statusOf(step.aside, false, linked, status) || !pair_.original.sameUpToRename(linked)) {
        fs.removeFile(step.aside);
        return LinkResult::Remained;
    }
    if (fs.exchangeNames(step.aside, step.duplicate) != platform::ExchangeResult::Exchanged) {
        fs.removeFile(step.aside);
        return LinkResult::Remained;
    }
    FileIdentity taken;
    if (!statusOf(step.aside, false, taken, status) || !pair_.duplicate.sameUpToRename(taken)) {
        undo(step);
        return LinkResult::Remained;
    }
    const bool lastName = status.links == 1;
    if (!fs.removeFile(step.aside)) {
        undo(step);
        return LinkResult::Remained;
    }
    givenBack_ = lastName ? pair_.duplicate.size : 0;
    // Changed by someone else meanwhile, it is no longer the original compared.
    FileIdentity now;
    originalNow_ =
        statusOf(step.duplicate, false, now, status) && pair_.original.sameUpToRename(now)
            ? now
            : pair_.original;
    return LinkResult::Linked;
}

// Swaps the names back; then the hidden name holds the link again and is
// removed, unless it holds anything else by now, which stays where it is.
void InPlaceLink::undo(const LinkStep& step) {
    auto& fs = platform::fileSystem();
    if (fs.exchangeNames(step.aside, step.duplicate) != platform::ExchangeResult::Exchanged) {
        return;  // the name still leads to the same bytes, the original's
    }
    platform::FileStatus status;
    FileIdentity back;
    if (statusOf(step.aside, false, back, status) && pair_.original.sameUpToRename(back)) {
        fs.removeFile(step.aside);
    }
}

}  // namespace folivar
