#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace folivar {

// The file sets the caller will classify after the current one, in the
// order it will ask for them. Positions are the caller's own and grow.
class UpcomingSets {
public:
    virtual ~UpcomingSets() = default;
    // Where the sets after the current one begin.
    virtual std::size_t start() const = 0;
    // The paths of the first set at or after position at, which then
    // moves past it; false when there is none.
    virtual bool next(std::size_t& at, std::vector<std::string>& paths) const = 0;
};

}  // namespace folivar
