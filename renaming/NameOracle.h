#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

    // The same for side file k of the batch (see SideFiles), right after its
    // row's file moved.
    virtual bool moveSide(std::size_t k, const std::string& from, const std::string& to) = 0;

    // Makes the folders of folder after its first kept bytes that are missing
    // (see FileSystem::makeFolders), adding those it made, or would make, to
    // made. False when one cannot be made or is no folder.
    virtual bool makeFolders(const std::string& folder, std::size_t kept,
                             std::vector<std::string>& made) = 0;

    // Why the last move or making of folders was refused, where that can be
    // told; nullptr otherwise.
    virtual const char* refusal() const { return nullptr; }
};

}  // namespace folivar
