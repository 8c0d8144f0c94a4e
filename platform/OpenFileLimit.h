#pragma once

#include <cstddef>
#include <cstdint>

namespace folivar::platform {

// Raises the soft limit on open files as far as the hard limit allows (up to
// a generous ceiling), once at start, so that comparing many files at once
// does not run short. Returns the soft limit in force afterwards.
std::uint64_t raiseOpenFileLimit();

// The soft limit on open files in force now.
std::uint64_t openFileLimit();

// How many descriptors one search or walk may hold at once: as many as
// wanted, but at most half the limit in force (the rest of the program needs
// some too), and never fewer than 2.
std::size_t descriptorShare(std::size_t wanted);

}  // namespace folivar::platform
