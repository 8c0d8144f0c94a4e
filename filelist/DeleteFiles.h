#pragma once

#include <cstdint>

#include "filelist/FileTable.h"
#include "filelist/ListStatus.h"
#include "filelist/RowSelection.h"

namespace folivar {

struct DeleteFilesOutcome {
    std::int32_t deleted = 0;
    std::int32_t remained = 0;
    // The selection afterwards: exactly the rows whose files stayed.
    RowSelection selection;
    ButtonsAfterRemoval buttons;
};

// "<rows> files in list; Deleted - <deleted>", then "; Remained - <remained>"
// when some file stayed.
std::string deleteFilesStatus(std::size_t rowCount, std::int32_t deleted, std::int32_t remained);

// Delete File(s): deletes the file of every selected row for good, in list
// order, without asking. A file that will not go is tried once more, with
// nothing changed in between. A deleted file's row leaves the
// list; a file that stays keeps its row, still selected, and is counted as
// remained. Writes kPleaseWait, then deleteFilesStatus, to status.
DeleteFilesOutcome deleteFiles(FileTable& table, const RowSelection& selection,
                               const StatusSink& status);

}  // namespace folivar
