#include "duplicates/ProgressPercent.h"

#include <cstdint>

namespace folivar {

int progressPercent(std::size_t done, std::size_t total) {
    if (total == 0) {
        return 0;
    }
    const auto numerator = static_cast<std::uint64_t>(done) * 100;
    const auto denominator = static_cast<std::uint64_t>(total);
    std::uint64_t percent = numerator / denominator;
    const std::uint64_t twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && percent % 2 == 1)) {
        ++percent;
    }
    return percent > 100 ? 100 : static_cast<int>(percent);
}

}  // namespace folivar
