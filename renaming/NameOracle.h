#pragma once

#include <cstddef>
#include <string>

namespace folivar {

// Where the rename operations learn which names are taken and carry out a
// move. The run asks the file system itself; a preview asks a simulation that
// remembers what the rows above would have done, so both follow one decision.
class NameOracle {
public:
    virtual ~NameOracle() = default;

    // As FileSystem::fileExists: an entry that is not a folder (links followed).
    virtual bool fileExists(const std::string& path) = 0;

    // Moves the file of the list's row from one path to the other, never
    // replacing anything. False when it is not moved.
    virtual bool move(std::size_t row, const std::string& from, const std::string& to) = 0;
};

}  // namespace folivar
