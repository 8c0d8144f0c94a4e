#include "ContentComparison.h"

#include <cstring>
#include <memory>

#include "duplicates/FileIdentity.h"
#include "duplicates/ReaderBudget.h"

namespace folivar::test {

std::int64_t comparisonChunkSize(std::int64_t size) {
    if (size < 0 || size >= kLargeComparisonSize) {
        return kLargeComparisonChunk;
    }
    return size / 5 + 1;
}

bool filesIdentical(const std::string& first, const std::string& second, std::int64_t size) {
    const ReaderBudget budget(2);
    const auto a = budget.open(first, {});
    if (!a) {
        return false;
    }
    const auto b = budget.open(second, {});
    if (!b) {
        return false;
    }
    // One physical file reached by two paths is not a copy of itself.
    if (FileIdentity::of(a->status()).samePhysicalFile(FileIdentity::of(b->status()))) {
        return false;
    }
    const auto chunk = static_cast<std::size_t>(comparisonChunkSize(size));
    const auto bufferA = std::make_unique_for_overwrite<char[]>(chunk);
    const auto bufferB = std::make_unique_for_overwrite<char[]>(chunk);
    for (;;) {
        const std::int64_t readA = a->read(bufferA.get(), chunk);
        const std::int64_t readB = b->read(bufferB.get(), chunk);
        if (readA < 0 || readB < 0 || readA != readB) {
            return false;
        }
        if (std::memcmp(bufferA.get(), bufferB.get(), static_cast<std::size_t>(readA)) != 0) {
            return false;
        }
        if (static_cast<std::size_t>(readA) < chunk) {
            return true;
        }
    }
}

}  // namespace folivar::test
