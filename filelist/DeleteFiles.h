#pragma once

#include <cstdint>

#include "filelist/ActionButtons.h"
#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"
#include "filelist/RowSelection.h"

namespace folivar {

struct DeleteFilesOutcome {
    std::int32_t deleted = 0;
    std::int32_t remained = 0;
    bool stopped = false;  // the user stopped it: the rows not reached stay as they were
    // The selection afterwards: exactly the rows whose files stayed.
    RowSelection selection;
    ActionButtons buttons;
};

// Delete File(s): deletes the file of every selected row for good, in list
// order, without asking. A file that will not go is tried once more, with
// nothing changed in between. A deleted file's row leaves the
// list; a file that stays keeps its row, still selected, and is counted as
// remained. Shows kPleaseWait, then deletionText. Asked to stop, it ends
// before the next file: the rows not reached keep their files and stay
// selected, and the text begins with "Stopped - ".
DeleteFilesOutcome deleteFiles(FileTable& table, const RowSelection& selection,
                               ProgressSink& progress);

}  // namespace folivar
