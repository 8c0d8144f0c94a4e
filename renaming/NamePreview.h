#pragma once

#include <string>
#include <vector>

#include "filelist/FileTable.h"
#include "renaming/RenameOperations.h"

namespace folivar {

// The preview's outcome for a row whose fate the file system tells only when
// it is tried (the run writes "Renamed", "Moved" or "Error" there).
inline constexpr const char* kUncertain = "Uncertain";

// What RENAME, MOVE or REN+MOV would do to one row.
struct PreviewRow {
    std::string oldPath;           // Path + FileName now
    std::string newPath;           // where the file would go (the name it would take,
                                   // also when that name is taken); oldPath when unchanged
    const char* status = nullptr;  // the Status the run would write, or kUncertain
    const char* reason =
        nullptr;         // why a row would fail or clash or is uncertain; nullptr otherwise
    bool clash = false;  // moved under another name than planned: its own is taken
    std::vector<std::string> made{};        // folders its move would make, parent first
    std::vector<RowOutcome::Side> sides{};  // its side files and where they would go

    // The row would not, or might not, end where it was meant to: "Already
    // Exists", "Error", kUncertain, a side file that would stay, or a clash
    // that a time of day settles.
    bool problem() const;
    // The folders made and the side files that would go along or stay, to be
    // told beside the outcome: "makes /P/2023/, /P/2023/04/; with a.xmp as
    // 0001.xmp; b.json stays (a file of that name is there)". Empty when
    // there is neither.
    std::string note() const;
};

// Why a moved row's new name carries a time of day: the one shown is the
// preview's; the run adds the time the file moves.
inline constexpr const char* kSuffixedAtMove =
    "its name is taken in the target: the time of day it moves is added to the name";

// Every row's outcome in list order, decided by the run's own decision
// against a simulation of the file system that follows what the rows above
// would have done, side files and folders to make included. Touches no file: what only trying tells
// (a FUSE file system, a link whose target may come or go) is kUncertain, never a promised success.
// A clash in the move target is suffixed with the time of day of the preview, where the run uses
// its own.
std::vector<PreviewRow> previewRows(const FileTable& table, const RenameSettings& settings);

// What the rows would come to, in a line: "4 rows: 3 Moved (1 under another
// name: its own is taken), 1 Already Exists", the outcomes in the order met.
std::string previewSummary(const std::vector<PreviewRow>& rows);

}  // namespace folivar
