#pragma once

#include <cstddef>
#include <vector>

#include "filelist/FileTable.h"
#include "filelist/ShuffleRandom.h"

namespace folivar {

// Shuffle Items: sorts the rows by mergeSortOrder with a comparison that
// looks at neither row and answers random.compareAnswer(). Every row stays,
// exactly once. The status line and the last sorted column are not touched.
// Returns the order applied: element k is the former index of the row that
// now stands at k (the window carries its selection across with it).
std::vector<std::size_t> shuffleRows(FileTable& table, ShuffleRandom& random);

// The same with a generator seeded from the high-resolution counter.
std::vector<std::size_t> shuffleRows(FileTable& table);

}  // namespace folivar
