#pragma once

#include <string>
#include <vector>

#include "filelist/FileTable.h"
#include "renaming/RenameOperations.h"

namespace folivar {

// What RENAME, MOVE or REN+MOV would do to one row.
struct PreviewRow {
    std::string oldPath;  // Path + FileName now
    std::string newPath;  // where the file would go (the name it would take,
                          // also when that name is taken); oldPath when unchanged
    const char* status;   // the Status the run would write
    const char* reason;   // why a row would fail or clash; nullptr otherwise

    // The row would not end where it was meant to: "Already Exists" or "Error".
    bool problem() const;
};

// Every row's outcome in list order, decided by the run's own decision
// against a simulation of the file system that follows what the rows above
// would have done. Touches no file. A clash in the move target is suffixed
// with the time of day of the preview, where the run uses its own.
std::vector<PreviewRow> previewRows(const FileTable& table, const RenameSettings& settings);

}  // namespace folivar
