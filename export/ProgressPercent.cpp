#include "export/ProgressPercent.h"

#include <cstdint>

namespace folivar {

int progressPercent(std::size_t done, std::size_t total) {
    const auto scaled = static_cast<std::uint64_t>(done) * 100U;
    const auto divisor = static_cast<std::uint64_t>(total);
    std::uint64_t quotient = scaled / divisor;
    const std::uint64_t twiceRemainder = (scaled % divisor) * 2U;
    if (twiceRemainder > divisor || (twiceRemainder == divisor && quotient % 2U == 1U)) {
        ++quotient;
    }
    return static_cast<int>(quotient);
}

}  // namespace folivar
