#pragma once

#include <cstddef>
#include <cstdint>

#include "filelist/FileTable.h"

namespace folivar::bench {

// A file list as a scan of a photo and document collection fills it: camera
// and scanner names, UTF-8 names with spaces, folders three to seven levels
// deep shared by runs of files, sizes up to 8 GiB, dates over 2000-2026, and
// the odd name without an extension. The same seed gives the same list.
FileTable syntheticFileList(std::size_t rows, std::uint64_t seed = 20240611);

}  // namespace folivar::bench
