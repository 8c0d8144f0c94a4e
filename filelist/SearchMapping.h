#pragma once

#include "filelist/ScanSettings.h"
#include "search/EasyFileSearch.h"

namespace folivar {

// Writes the scan settings into the search component: include masks, options,
// size filter, date filter, file access kind, exclude masks. RootPath is left
// to the scan. SizeText is read first: when it is not a whole number,
// EConvertError ("'<text>' is not a valid integer value") leaves the component
// untouched. A combo with nothing chosen leaves its property as it was.
void writeScanSettings(const ScanSettings& settings, TEasyFileSearch& search);

}  // namespace folivar
