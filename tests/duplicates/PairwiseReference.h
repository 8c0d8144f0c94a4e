#pragma once

#include <cstdint>

#include "filelist/FileTable.h"

namespace folivar::test {

// The duplicate search done the plain way: sort by size, then compare every
// anchor with every later row of its size run through filesIdentical, marking
// and numbering as it goes, and drop the rows in no group. Returns the number
// of rows marked "Dupl".
std::int32_t pairwiseSearch(FileTable& table);

}  // namespace folivar::test
