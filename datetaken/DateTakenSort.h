#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "datetaken/DatesTaken.h"
#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"

namespace folivar {

// Sort by Date Taken: reads the dates not read yet (with progress), then
// orders the rows by date taken, oldest first; rows of the same moment keep
// their order. A row whose file could not be read at all sorts by its
// Modified cell (that day at midnight), and one without even that goes last.
// Ends with the status of where the dates came from. Returns the order
// applied (element k: the former index of the row now at k). Asked to stop
// while it reads, no row moves (the dates read are kept for the next time),
// the status says "Stopped - 12 files in list; the list is not sorted", and
// nullopt is returned.
std::optional<std::vector<std::size_t>> sortByDateTaken(FileTable& table, DatesTaken& dates,
                                                        ProgressSink& progress);

// "12 files in list; Dates taken: 9 from metadata, 2 from names, 1 from
// modification times", then ", 1 unreadable" when some file could not be read.
std::string dateSourcesText(std::size_t rowCount, const std::array<std::size_t, 4>& sources);

}  // namespace folivar
