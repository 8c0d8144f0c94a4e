#pragma once

#include "filelist/FileTable.h"
#include "filelist/ListStatus.h"
#include "filelist/RowSelection.h"

namespace folivar {

// Delete Item(s): takes every selected row out of the list; the files stay
// on disk. Writes kPleaseWait, then filesInListText of the rows left, to
// status. No row is selected afterwards.
ButtonsAfterRemoval deleteItems(FileTable& table, const RowSelection& selection,
                                const StatusSink& status);

}  // namespace folivar
