#pragma once

#include <cstdint>

namespace folivar::platform {

// How often the calling thread has given up the processor to wait (for the
// disk, another file system's reply, a page), since it started. A thread whose
// work is all in the caches hardly ever waits.
std::uint64_t threadWaits();

}  // namespace folivar::platform
