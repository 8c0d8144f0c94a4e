#pragma once

#include "filelist/ScanSettings.h"
#include "search/EasyFileSearch.h"

namespace folivar {

// Writes the scan settings into the search component, in the order a scan
// writes them: include masks, options, size filter, date filter, file access
// kind, exclude masks. RootPath is left to the scan. sizeText is read first:
// when it is not a whole number, EConvertError ("'<text>' is not a valid
// integer value") leaves the component untouched.
void writeScanSettings(const ScanSettings& settings, TEasyFileSearch& search);

}  // namespace folivar
