#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"
#include "renaming/InterruptedBatch.h"

namespace folivar {

// Status texts of an undo.
inline constexpr const char* kRestored = "Restored";
inline constexpr const char* kNotRestoredGone = "Not restored: the file is gone";
inline constexpr const char* kNotRestoredChanged = "Not restored: the file has changed since";
inline constexpr const char* kNotRestoredTaken = "Not restored: its old name is taken";
inline constexpr const char* kNotRestoredNoFolder = "Not restored: its old folder is gone";
inline constexpr const char* kNotRestoredFailed = "Not restored: it could not be moved back";
inline constexpr const char* kNothingToUndo = "Nothing to undo";
// The row's file went back, and a side file of it could not follow.
inline constexpr const char* kRestoredSideStays = "Restored, but a side file stays";

struct UndoOutcome {
    bool anything = false;  // the journal held a batch to take back
    std::size_t moves = 0;  // files the batch had moved, linked or shared
    std::size_t restored = 0;
};

// Which batches of the history an undo may reach.
struct UndoReach {
    std::uint64_t lowest = 0;  // none numbered below this one
    // This batch only, if it still is the one to take back.
    std::optional<std::uint64_t> only;
};

// Takes back the newest batch journaled in folder that is not undone yet,
// whatever its kind. A LINK DUPL batch: each linked name gets its own copy of
// the data again (see undoLink); a shared file needs nothing and counts as
// restored. A rename batch: every file it moved goes back to its old path, the
// last moved first, never replacing anything (the same move as the batch's,
// across file systems too). A row's side files go back after its file, and
// only once it went back: a file that stays keeps its side files. Then the
// folders the batch made go, deepest first, each only while it is empty and
// still the folder the batch made (one whose making a kill cut short before
// that was written down goes if empty).
// A file gone or changed since (device, inode, size, modification time), or
// whose old name is taken now, stays where it is; a move the journal never
// recorded is taken back only for the very file planned, or its copy. The rows
// showing a moved file get its old FileName and Path and "Restored", or the
// reason it was not. Works as well on a batch that was killed in the middle,
// and on an undo that was; each undo after it takes back the batch before,
// down to a batch marked void. Ends with "3 files from 4 are restored",
// "Nothing to undo", or why the journal could not be used: held by another
// instance, or not a file of this user's.
// Asked to stop (before a file, or during its copy back from another file
// system, which is then abandoned), it ends there: what is back stays back,
// the rest stays as the batch left it, the batch is not asked about at the
// next start, and the next undo finishes it; the text reads
// "Stopped - 3 files from 10 are restored".
UndoOutcome undoBatch(const std::string& folder, FileTable& table, ProgressSink& progress,
                      const UndoReach& reach = {});

// What the journal in folder holds for the start to ask about.
struct JournalCheck {
    // The batch an undo would take back, when it was killed in the middle
    // (or its undo was), nobody has decided on it, and no live instance holds
    // the journal.
    std::optional<InterruptedBatch> interrupted;
    std::string unusable;  // not empty: why the journal cannot be used
};
JournalCheck checkJournal(const std::string& folder);

// The interrupted batch is kept as it is: not asked about again (it can
// still be undone).
void keepInterruptedBatch(const std::string& folder, std::uint64_t number);

}  // namespace folivar
