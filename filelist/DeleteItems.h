#pragma once

#include "filelist/ActionButtons.h"
#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"
#include "filelist/RowSelection.h"

namespace folivar {

// Delete Item(s): takes every selected row out of the list; the files stay
// on disk. Shows kPleaseWait, then filesInListText of the rows left. No row is
// selected afterwards.
ActionButtons deleteItems(FileTable& table, const RowSelection& selection, ProgressSink& progress);

}  // namespace folivar
