#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"
#include "filelist/RowSelection.h"

namespace folivar {

// An amount of bytes as the information box gives it: "123 bytes", "1,5 Kb",
// "12,0 Mb", "1,2 Gb" (the band chosen by the amount, one decimal after a
// comma, halves rounded to even).
std::string sizeText(double total);

// The information box text for count files totalling total bytes, e.g.
// "1,5 Kb in 1 files (average size - 1536 bytes)". The total chooses the band
// (bytes below 1,024; Kb below 1,048,576; Mb below 1,073,741,824; Gb above);
// the amount has one decimal after a comma, the average none, both rounded
// with halves to even. count must be above 0.
std::string sumMessage(double total, std::int64_t count);

// Sum Up Zize of File(s) and SUM: adds the 64-bit Size cells of the selected
// rows. Shows kPleaseWait, then filesInListText of all rows, and returns the text for the
// information box; nullopt when no row is selected. A Size cell that is not a whole number throws
// EConvertError before the second status text (the toolkit's error box shows it).
std::optional<std::string> sumSizes(const FileTable& table, const RowSelection& selection,
                                    ProgressSink& progress);

}  // namespace folivar
