#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "duplicates/ClassifyStatistics.h"
#include "duplicates/PhysicalFiles.h"
#include "duplicates/ReaderBudget.h"
#include "platform/StopQuery.h"

namespace folivar {

// The readers held open on the members of one set, within a reader budget.
// Out of descriptors, a reader kept open for a later pass is closed first;
// its file is opened again, and read up to where it stood, when its turn
// comes. Counts what it opens and reads into the statistics.
class OpenReaders {
public:
    OpenReaders(PhysicalFiles& files, ClassifyStatistics& stats);

    // For a new set. Asks stop before every read; asked to stop, a read
    // throws platform::WorkStopped.
    void start(const ReaderBudget& budget, platform::StopQuery& stop);
    // The set is done or dropped: its members have closed their readers.
    void finish();

    // Readers to hold at once.
    std::size_t capacity() const { return budget_->capacity(); }

    // Whether member can be read from offset on: opened (and read up to
    // offset) if it was closed. Asks makeRoom for a descriptor when they run
    // out; without it, another member's unpinned reader gives its up.
    bool openAt(PhysicalFiles::Member& member, std::int64_t offset);
    bool openAt(PhysicalFiles::Member& member, std::int64_t offset,
                const std::function<bool()>& makeRoom);
    // Bytes read into buffer, 0 at the end, negative on a failed read.
    std::int64_t read(PhysicalFiles::Member& member, char* buffer, std::size_t size);
    void close(PhysicalFiles::Member& member);
    // The member cannot be read: it belongs to no class.
    void fail(PhysicalFiles::Member& member);

private:
    bool closeAnotherThan(const PhysicalFiles::Member& keep);

    PhysicalFiles& files_;
    ClassifyStatistics& stats_;
    std::optional<ReaderBudget> budget_;  // set from start()
    std::vector<std::size_t> open_;       // members whose readers are open
    platform::StopQuery* stop_ = &platform::StopQuery::never();
};

}  // namespace folivar
