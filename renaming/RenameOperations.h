#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "datetaken/DatesTaken.h"
#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"
#include "renaming/NameComposition.h"
#include "renaming/NameOracle.h"
#include "renaming/SideFiles.h"

namespace folivar {

// The operations of the RENAME button.
enum class RenameKind : int { Rename, Move, RenameAndMove };

// Outcomes written into a row's Status cell.
inline constexpr const char* kInvariably = "Invariably";
inline constexpr const char* kAlreadyExists = "Already Exists";
inline constexpr const char* kRenamed = "Renamed";
inline constexpr const char* kMoved = "Moved";
inline constexpr const char* kError = "Error";
// The row's file went, and a side file of it could not go along (its new
// name is taken, or the move failed): it stays where it was.
inline constexpr const char* kRenamedSideStays = "Renamed, but a side file stays";
inline constexpr const char* kMovedSideStays = "Moved, but a side file stays";

// The row's file was renamed or moved, with its side files or without some.
bool isMovedOutcome(const char* status);

// True for the outcomes that left a file as it was against the user's wish
// ("Error", "Already Exists", a side file that stays, an undo's "Not
// restored: ..."): the rows a user looks for after a run.
bool isFailedOutcome(std::string_view status);

// Whether two outcomes are the same text. Compared by their letters: one text
// may stand at a different address in each file that uses it.
inline bool sameStatus(const char* a, const char* b) {
    return std::strcmp(a, b) == 0;
}

// What RENAME, MOVE or REN+MOV does to every row.
struct RenameSettings {
    RenameKind kind = RenameKind::Rename;
    NamingScheme scheme;  // the new names (not used by a plain move)
    // The move target folder as the folder picker gave it; it may hold dates
    // (see DateFolderPattern).
    std::string targetFolder;
    // The rows' dates taken, for the names and folders made of them;
    // nullptr: each read when needed.
    DatesTaken* dates = nullptr;
    // The rows' side files, found before the first file moves; nullptr: the
    // operation finds them when it starts.
    std::shared_ptr<const SideFiles> sides{};
};

// Whether the operation names files or folders by their dates taken.
bool usesDatesTaken(const RenameSettings& settings);

// The settings with the rows' side files found, unless they were.
RenameSettings withSideFiles(RenameSettings settings, const FileTable& table);

// What the operation does with one row: the file is to become folder + name,
// unless its outcome is settled without touching it.
struct RowPlan {
    std::string name;               // the FileName it is to have
    std::string folder;             // the Path it is to be in
    const char* settled = nullptr;  // kInvariably or kError: nothing is tried
    const char* reason = nullptr;   // why a settled kError is one
    bool suffixed = false;          // its name was taken in the target: the time of day added
    // The folders of folder after its first made bytes are made when
    // missing (a date folder); npos: folder is to be there as it is.
    std::size_t made = std::string::npos;
};

// What the operation does to one row: its plan and the Status it gets.
struct RowOutcome {
    // A side file of the row, and where it went or was to go.
    struct Side {
        std::string from;
        std::string to;
        bool moved = false;
        const char* why = nullptr;  // why it stays, where that can be told
    };

    RowPlan plan;
    const char* status = nullptr;
    std::vector<std::string> made{};  // the folders made for it, parent first
    std::vector<Side> sides{};        // its side files, once its file moved
};

// The decision for the row at position row (0 for the top row): its composed
// name (a plain move keeps the name; a name made of the date taken is an
// error for a file without one), and for the moving operations its folder
// (made of its date taken where the target holds dates) and the time of day
// before the extension when that name is taken there. A name that is not one plain name of one
// folder is an error. Asks the file system but changes nothing, so it can be asked ahead of a run.
RowPlan planRow(const RenameSettings& settings, std::size_t row, const FileRow& file);
// The same, with the names taken as the oracle tells them.
RowPlan planRow(const RenameSettings& settings, std::size_t row, const FileRow& file,
                NameOracle& names);

// One row's whole decision: its plan, then the folders to make, the move
// through the oracle, its side files after it, and the outcome of it
// ("Already Exists" when a rename finds its name taken). A side file never
// replaces anything either: one whose new name is taken stays, and the row
// says so without failing its own file's move. The run decides against the
// file system, a preview against a simulation.
RowOutcome decideRow(const RenameSettings& settings, std::size_t row, const FileRow& file,
                     NameOracle& names);

// Carries out the operation over every row from the top: each row's plan,
// the move (never replacing a file) with its side files, the row's outcome in
// its Status cell and, after a success, its new FileName and Path. Progress after every row, then
// the summary: "12 files from 15 are renamed" (or "... are moved"). Returns
// the number of files renamed or moved. Asked to stop (before a row, or
// during a copy to another file system, which is then abandoned), it ends
// there: the rows not done keep their cells, and the summary begins with
// "Stopped - ".
std::size_t renameRows(FileTable& table, const RenameSettings& settings, ProgressSink& progress);
// The same, moving through the oracle (one that records each move).
std::size_t renameRows(FileTable& table, const RenameSettings& settings, ProgressSink& progress,
                       NameOracle& names);

}  // namespace folivar
