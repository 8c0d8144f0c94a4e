#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace folivar {

// Splits the blocks of one pass by their bytes. A hash picks the candidates
// once there are many; equality is always decided by comparing the bytes.
class BlockSorter {
public:
    struct Part {
        std::unique_ptr<char[]> bytes;
        std::size_t count = 0;
        std::vector<std::size_t> members;
    };

    explicit BlockSorter(std::size_t blockSize);

    char* scratch() { return scratch_.get(); }
    std::size_t heldBytes() const { return (parts_.size() + 1) * blockSize_; }
    std::vector<Part>& parts() { return parts_; }

    // Files the block now in scratch() (count bytes) under member.
    void place(std::size_t member, std::size_t count);

private:
    static constexpr std::size_t kLinearSearch = 8;

    bool matches(const Part& part, std::size_t count) const;

    std::size_t blockSize_;
    std::unique_ptr<char[]> scratch_;
    std::vector<Part> parts_;
    std::unordered_multimap<std::uint64_t, std::size_t> index_;
};

}  // namespace folivar
