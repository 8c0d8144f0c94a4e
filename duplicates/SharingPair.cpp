#include "duplicates/SharingPair.h"

#include <algorithm>

#include "platform/FileSystem.h"

namespace folivar {

namespace {

std::vector<platform::Extent> extentsOf(const platform::Descriptor& file) {
    auto extents = platform::extentsOf(file.get());
    return extents ? std::move(*extents) : std::vector<platform::Extent>{};
}

}  // namespace

bool SharingPair::open(const std::string& duplicate, const DuplicateRecords::Pair& pair,
                       OriginalExtents& last) {
    auto& fs = platform::fileSystem();
    platform::FileStatus original;
    platform::FileStatus copy;
    original_ = fs.openToShare(pair.originalPath, original);
    duplicate_ = fs.openToShare(duplicate, copy);
    if (!original_.valid() || !duplicate_.valid() || FileIdentity::of(original) != pair.original ||
        FileIdentity::of(copy) != pair.duplicate) {
        original_ = platform::Descriptor();
        duplicate_ = platform::Descriptor();
        return false;
    }
    size_ = copy.size;
    const std::vector<platform::Extent> own = extentsOf(duplicate_);
    placedBytes_ = platform::bytesPlaced(own, size_, false);
    ownBytes_ = platform::bytesPlaced(own, size_, true);
    alikeBytes_ = 0;
    if (ownBytes_ < placedBytes_) {
        if (last.path != pair.originalPath || last.identity != pair.original) {
            last = OriginalExtents{pair.originalPath, pair.original, extentsOf(original_)};
        }
        alikeBytes_ = platform::bytesStoredAlike(last.extents, own, size_);
    }
    return true;
}

bool SharingPair::alreadyShared() const {
    return placedBytes_ > 0 && alikeBytes_ == placedBytes_;
}

platform::SharingResult SharingPair::share(ProgressSink& progress) {
    auto& fs = platform::fileSystem();
    std::int64_t offset = 0;
    while (offset < size_) {
        // A safe point: what is shared so far stands on its own.
        progress.working();
        const std::int64_t length = std::min(kChunk, size_ - offset);
        const platform::RangeSharing answer =
            fs.shareRange(original_.get(), duplicate_.get(), offset, length);
        if (answer.result != platform::SharingResult::Shared) {
            return answer.result;
        }
        if (answer.bytes <= 0) {
            return platform::SharingResult::Failed;
        }
        offset += std::min(answer.bytes, length);
    }
    return platform::SharingResult::Shared;
}

platform::SharingResult SharingPair::shareFirstChunk() {
    return platform::fileSystem()
        .shareRange(original_.get(), duplicate_.get(), 0, std::min(kChunk, size_))
        .result;
}

}  // namespace folivar
