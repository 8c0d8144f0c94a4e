#pragma once

#include <cstddef>
#include <string>

#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"

namespace folivar {

// Status texts of an undo.
inline constexpr const char* kRestored = "Restored";
inline constexpr const char* kNotRestoredGone = "Not restored: the file is gone";
inline constexpr const char* kNotRestoredChanged = "Not restored: the file has changed since";
inline constexpr const char* kNotRestoredTaken = "Not restored: its old name is taken";
inline constexpr const char* kNotRestoredNoFolder = "Not restored: its old folder is gone";
inline constexpr const char* kNotRestoredFailed = "Not restored: it could not be moved back";
inline constexpr const char* kNothingToUndo = "Nothing to undo";

struct UndoOutcome {
    bool anything = false;  // the journal held a batch to take back
    std::size_t moves = 0;  // files the batch had moved
    std::size_t restored = 0;
};

// Takes back the last batch journaled in folder: every file it moved goes
// back to its old path, the last moved first, never replacing anything (the
// same move as the batch's, across file systems too). A file gone or changed
// since (device, inode, size, modification time), or whose old name is taken
// now, stays where it is. The rows showing a moved file get its old FileName
// and Path and "Restored", or the reason it was not. Works as well on a batch
// that was killed in the middle, and on an undo that was; a second undo finds
// nothing to do. Ends with "3 files from 4 are restored" or "Nothing to undo".
// Asked to stop (before a file, or during its copy back from another file
// system, which is then abandoned), it ends there: what is back stays back,
// the rest stays as the batch left it, and the next undo finishes it; the
// text reads "Stopped - 3 files from 10 are restored".
UndoOutcome undoBatch(const std::string& folder, FileTable& table, ProgressSink& progress);

// The journal in folder tells of a batch, or its undo, killed in the middle
// that nobody has decided on yet.
bool interruptedBatch(const std::string& folder);

// The interrupted batch is kept as it is: not asked about again (it can
// still be undone).
void keepInterruptedBatch(const std::string& folder);

}  // namespace folivar
