#include "duplicates/BlockSorter.h"

#include <cstring>
#include <utility>

#include "duplicates/Blocks.h"

namespace folivar {

BlockSorter::BlockSorter(std::size_t blockSize)
    : blockSize_(blockSize), scratch_(allocateBlock(blockSize)) {}

void BlockSorter::place(std::size_t member, std::size_t count) {
    const char* data = scratch_.get();
    std::uint64_t hash = 0;
    if (parts_.size() > kLinearSearch) {
        if (index_.empty()) {
            for (std::size_t i = 0; i < parts_.size(); ++i) {
                index_.emplace(hashOfBlock(parts_[i].bytes.get(), parts_[i].count), i);
            }
        }
        hash = hashOfBlock(data, count);
        const auto [first, last] = index_.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            if (matches(parts_[it->second], count)) {
                parts_[it->second].members.push_back(member);
                return;
            }
        }
    } else {
        for (Part& part : parts_) {
            if (matches(part, count)) {
                part.members.push_back(member);
                return;
            }
        }
    }
    if (!index_.empty()) {
        index_.emplace(hash, parts_.size());
    }
    parts_.push_back(Part{std::move(scratch_), count, {member}});
    scratch_ = allocateBlock(blockSize_);
}

bool BlockSorter::matches(const Part& part, std::size_t count) const {
    return part.count == count && std::memcmp(part.bytes.get(), scratch_.get(), count) == 0;
}

}  // namespace folivar
