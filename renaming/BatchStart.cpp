#include "renaming/BatchStart.h"

#include "platform/StateFolder.h"
#include "renaming/JournalHistory.h"

namespace folivar {

BatchStart BatchStart::prepare(const std::string& folder, const FileTable& table,
                               RenameSettings settings) {
    BatchStart start;
    start.settings_ = std::move(settings);
    start.folder_ = folder;
    if (start.settings_.kind != RenameKind::Rename && start.settings_.targetFolder.empty()) {
        return start;
    }
    // Found once: the journal writes down the side files the run moves.
    start.settings_ = withSideFiles(std::move(start.settings_), table);
    start.state_ = State::Unjournaled;
    if (folder.empty()) {
        start.why_ = "there is no state folder to keep it in";
        return start;
    }
    if (!platform::makePrivateFolder(folder)) {
        start.why_ = "cannot make the folder " + folder;
        return start;
    }
    switch (platform::JournalLock::take(folder, start.lock_, start.why_)) {
        case platform::JournalLock::Result::Taken:
            break;
        case platform::JournalLock::Result::Busy:
            start.state_ = State::Busy;
            start.why_ = kJournalBusy;
            return start;
        case platform::JournalLock::Result::NoFolder:
            start.why_ = "the folder " + folder + " is gone";
            return start;
        case platform::JournalLock::Result::Unusable:
            return start;
    }
    start.journal_ = BatchJournal::begin(start.lock_, folder, table, start.settings_, start.why_);
    if (start.journal_) {
        start.state_ = State::Journaled;
        start.why_.clear();
    }
    return start;
}

BatchStart BatchStart::stopped() {
    BatchStart start;
    start.state_ = State::Stopped;
    return start;
}

void BatchStart::runWithoutUndo() {
    if (state_ != State::Unjournaled) {
        return;
    }
    agreed_ = true;
    const JournalHistory history(folder_);
    if (!history.putOutOfReach()) {
        lowest_ = history.newest() + 1;
    }
}

NameOracle& BatchStart::names(platform::StopQuery& stop) {
    if (journal_) {
        journal_->stopWhen(stop);
        return *journal_;
    }
    plain_.stopWhen(stop);
    return plain_;
}

void BatchStart::end() {
    if (journal_) {
        journal_->end();
    }
}

}  // namespace folivar
