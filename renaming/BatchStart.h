#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "filelist/FileTable.h"
#include "platform/JournalLock.h"
#include "renaming/BatchJournal.h"
#include "renaming/FileSystemNames.h"
#include "renaming/RenameOperations.h"

namespace folivar {

// A RENAME, MOVE or REN+MOV made ready to run, so that the window can ask
// before it does: the journal's lock is taken for it (one batch or undo at a
// time across instances) and the batch is written down before any file
// moves. A batch that cannot be journaled runs only once the user agreed to
// run it without undo, and then no undo reaches past it to an older batch.
class BatchStart {
public:
    enum class State {
        Nothing,      // a moving operation without a move target folder
        Journaled,    // ready to run, its journal written
        Busy,         // another instance runs a batch or an undo: it does not run
        Unjournaled,  // its journal cannot be written, and why() says why
        Stopped,      // the user stopped it while it was made ready: it does not run
    };

    static BatchStart prepare(const std::string& folder, const FileTable& table,
                              RenameSettings settings);
    // A batch stopped before it was made ready: nothing written, no lock held.
    static BatchStart stopped();

    State state() const { return state_; }
    const std::string& why() const { return why_; }
    const RenameSettings& settings() const { return settings_; }

    // The user agreed to run an unjournaled batch without undo: the batches
    // journaled before it are put out of the undo's reach, on disk where it
    // can be written, else for as long as lowestInReach() is heeded.
    void runWithoutUndo();
    // Journaled, or agreed to run without undo.
    bool mayRun() const { return state_ == State::Journaled || agreed_; }
    // No undo may reach a batch numbered below this one.
    std::uint64_t lowestInReach() const { return lowest_; }

    // Where the moves go: through the journal, or straight to the file system;
    // a copy to another file system is abandoned when stop asks for it.
    NameOracle& names(platform::StopQuery& stop = platform::StopQuery::never());
    // The batch ran to its end.
    void end();

private:
    State state_ = State::Nothing;
    std::string why_;
    RenameSettings settings_;
    std::string folder_;
    std::optional<platform::JournalLock> lock_;  // held through a run without journal
    std::unique_ptr<BatchJournal> journal_;
    FileSystemNames plain_;
    bool agreed_ = false;
    std::uint64_t lowest_ = 0;
};

}  // namespace folivar
