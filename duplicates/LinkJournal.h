#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "duplicates/LinkRecorder.h"
#include "platform/JournalFile.h"
#include "platform/JournalLock.h"

namespace folivar {

// The journal of one LINK DUPL run, the newest batch of the same history as
// the renames' (see JournalLines), so that the undo takes back whichever came
// last. The batch is on disk before the first file changes; each link is
// written down and synced before it is made, and told done after; each share
// is told after it is made (it needs no undo). The journal's lock is held
// until the object goes: one batch or undo at a time across instances.
class LinkJournal final : public LinkRecorder {
public:
    enum class Start {
        Journaled,    // begun: the run may go
        Busy,         // another instance runs a batch or an undo
        Unjournaled,  // the journal cannot be written, why() says why
    };

    // Writes the batch down as the newest of the history in folder (the
    // oldest beyond its length go) for a list of rows rows.
    static std::unique_ptr<LinkJournal> begin(const std::string& folder, std::size_t rows,
                                              Start& start, std::string& why);

    // False when the link could not be written down: it is then not made.
    bool before(const LinkStep& step) override;
    void after(const LinkStep& step, LinkResult result) override;

    // The run ended; a run that changed nothing is no batch to take back.
    void end();

private:
    LinkJournal(platform::JournalLock lock, platform::JournalFile file)
        : lock_(std::move(lock)), file_(std::move(file)) {}

    platform::JournalLock lock_;
    platform::JournalFile file_;
    bool steps_ = false;  // a step was written down
};

}  // namespace folivar
