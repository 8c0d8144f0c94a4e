#pragma once

#include <cstdint>
#include <string>

#include "filelist/FileTable.h"

namespace folivar::bench {

// What one timed run leaves behind.
struct VariantResult {
    std::string file;  // the file written, empty for none
    std::uint64_t fileBytes = 0;
};

// The spreadsheet export as the window runs it: XlsxApplication through
// SpreadsheetExport, with progress and status callbacks that keep the last
// value. The workbook goes into TMPDIR.
VariantResult exportWorkbook(const FileTable& table);

// The floor: the same cells as CSV through plain stdio, into a new file in
// folder (RFC 4180 quoting where a text needs it).
VariantResult writeCsv(const FileTable& table, const std::string& folder);

}  // namespace folivar::bench
