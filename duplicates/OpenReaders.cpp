#include "duplicates/OpenReaders.h"

#include <algorithm>

#include "duplicates/Blocks.h"
#include "platform/WorkStopped.h"

namespace folivar {

namespace {

constexpr std::size_t kSkipChunk = 64 * 1024;

}  // namespace

OpenReaders::OpenReaders(PhysicalFiles& files, ClassifyStatistics& stats)
    : files_(files), stats_(stats) {}

void OpenReaders::start(const ReaderBudget& budget, platform::StopQuery& stop) {
    budget_ = budget;
    open_.clear();
    stop_ = &stop;
}

void OpenReaders::finish() {
    open_.clear();
    stop_ = &platform::StopQuery::never();
}

bool OpenReaders::openAt(PhysicalFiles::Member& member, std::int64_t offset) {
    return openAt(member, offset, [this, &member] { return closeAnotherThan(member); });
}

bool OpenReaders::openAt(PhysicalFiles::Member& member, std::int64_t offset,
                         const std::function<bool()>& makeRoom) {
    if (member.failed) {
        return false;
    }
    if (member.reader) {
        return member.position == offset;
    }
    member.reader = budget_->open(member.path, makeRoom);
    if (!member.reader) {
        return false;
    }
    member.position = 0;
    member.openSlot = open_.size();
    open_.push_back(files_.indexOf(member));
    ++stats_.filesOpened;
    stats_.peakOpenFiles = std::max(stats_.peakOpenFiles, open_.size());
    // Another file put in its place since it was looked at is not the one
    // that was sorted.
    if (!(FileIdentity::of(member.reader->status()) == member.identity)) {
        return false;
    }
    if (offset > 0) {
        const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(offset, kSkipChunk));
        const auto skipped = allocateBlock(chunk);
        while (member.position < offset) {
            const auto want = static_cast<std::size_t>(
                std::min<std::int64_t>(offset - member.position, static_cast<std::int64_t>(chunk)));
            if (read(member, skipped.get(), want) != static_cast<std::int64_t>(want)) {
                return false;
            }
        }
    }
    return true;
}

bool OpenReaders::closeAnotherThan(const PhysicalFiles::Member& keep) {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
        PhysicalFiles::Member& other = files_[*it];
        if (&other != &keep && !other.pinned) {
            close(other);
            return true;
        }
    }
    return false;
}

std::int64_t OpenReaders::read(PhysicalFiles::Member& member, char* buffer, std::size_t size) {
    // Between two reads nothing is half done: what was read so far is
    // dropped with the whole search.
    if (stop_->stopRequested()) {
        throw platform::WorkStopped();
    }
    budget_->keepOn();
    const std::int64_t count = member.reader->read(buffer, size);
    if (count > 0) {
        member.position += count;
        stats_.bytesRead += count;
    }
    return count;
}

void OpenReaders::close(PhysicalFiles::Member& member) {
    member.pinned = false;
    if (member.reader) {
        member.reader.reset();
        const std::size_t moved = open_.back();
        open_[member.openSlot] = moved;
        files_[moved].openSlot = member.openSlot;
        open_.pop_back();
    }
}

void OpenReaders::fail(PhysicalFiles::Member& member) {
    close(member);
    member.failed = true;
    member.contentClass = ClassifiedFile::kNone;
}

}  // namespace folivar
