#include "duplicates/LinkJournal.h"

#include <optional>

#include "platform/Clock.h"
#include "platform/StateFolder.h"
#include "renaming/JournalHistory.h"
#include "renaming/JournalLines.h"

namespace folivar {

namespace {

MovedIdentity movedIdentity(const FileIdentity& file) {
    return MovedIdentity{file.device, file.inode, file.size, file.modified};
}

}  // namespace

std::unique_ptr<LinkJournal> LinkJournal::begin(const std::string& folder, std::size_t rows,
                                                Start& start, std::string& why) {
    start = Start::Unjournaled;
    if (folder.empty()) {
        why = "there is no state folder to keep it in";
        return nullptr;
    }
    if (!platform::makePrivateFolder(folder)) {
        why = "cannot make the folder " + folder;
        return nullptr;
    }
    std::optional<platform::JournalLock> lock;
    switch (platform::JournalLock::take(folder, lock, why)) {
        case platform::JournalLock::Result::Taken:
            break;
        case platform::JournalLock::Result::Busy:
            start = Start::Busy;
            why = kJournalBusy;
            return nullptr;
        case platform::JournalLock::Result::NoFolder:
            why = "the folder " + folder + " is gone";
            return nullptr;
        case platform::JournalLock::Result::Unusable:
            return nullptr;
    }
    std::string text(journal::kFirstLine);
    journal::appendBatchLine(text, rows, journal::whenText(platform::clock().localNow()));
    text += journal::kBegin;
    std::optional<platform::JournalFile> file = JournalHistory::addNewest(folder, text, why);
    if (!file) {
        return nullptr;
    }
    start = Start::Journaled;
    why.clear();
    return std::unique_ptr<LinkJournal>(new LinkJournal(std::move(*lock), std::move(*file)));
}

bool LinkJournal::before(const LinkStep& step) {
    if (step.kind != LinkStep::Kind::Link) {
        return true;  // a share takes nothing away: nothing to take back
    }
    std::string line;
    journal::appendLinkLine(line, step.row, step.duplicate, step.original, step.aside,
                            movedIdentity(step.duplicateFile), movedIdentity(step.originalFile));
    steps_ = true;
    return file_.append(line) && file_.sync();
}

void LinkJournal::after(const LinkStep& step, LinkResult result) {
    std::string line;
    if (result == LinkResult::Linked) {
        journal::appendLinkedLine(line, step.row);
    } else if (result == LinkResult::Shared) {
        journal::appendSharedLine(line, step.row, step.duplicate);
    } else {
        return;
    }
    // Not synced: the undo finds a link by what its name leads to.
    steps_ = true;
    file_.append(line);
}

void LinkJournal::end() {
    std::string last(journal::kEnd);
    if (!steps_) {
        last += journal::kUndone;  // nothing to take back: the undo passes it by
    }
    if (file_.append(last)) {
        file_.sync();
    }
}

}  // namespace folivar
