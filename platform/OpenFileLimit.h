#pragma once

#include <cstdint>

namespace folivar::platform {

// Raises the soft limit on open files as far as the hard limit allows (up to
// a generous ceiling), once at start, so that comparing many files at once
// does not run short. Returns the soft limit in force afterwards.
std::uint64_t raiseOpenFileLimit();

// The soft limit on open files in force now.
std::uint64_t openFileLimit();

}  // namespace folivar::platform
