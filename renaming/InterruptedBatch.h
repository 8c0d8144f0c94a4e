#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace folivar {

// A batch, or its undo, killed in the middle that nobody has decided on yet:
// what the start asks about.
struct InterruptedBatch {
    std::uint64_t number = 0;          // which batch of the history
    std::size_t files = 0;             // the rows it was to move
    std::vector<std::string> folders;  // the folders they were in, in list order
    std::string when;                  // the local time it began; empty: not known
};

// "3 files in /a/, begun 2026-12-02 08:14:05"; at most three folders by name,
// then "and 2 more folders".
std::string describe(const InterruptedBatch& batch);

}  // namespace folivar
