#pragma once

#include <cstddef>
#include <cstdint>

namespace folivar {

// What sorting one file set by contents cost.
struct ClassifyStatistics {
    std::int64_t bytesRead = 0;
    std::size_t filesOpened = 0;
    std::size_t peakOpenFiles = 0;
    std::size_t peakBlockBytes = 0;  // bytes of blocks held at once
};

}  // namespace folivar
