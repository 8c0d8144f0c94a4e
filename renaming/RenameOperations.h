#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "filelist/FileTable.h"
#include "filelist/ProgressReporter.h"
#include "renaming/NameComposition.h"

namespace folivar {

// The operations of the RENAME button, in the order of its operation list.
enum class RenameKind : int { Rename = 0, Move = 1, RenameAndMove = 2 };

// Outcomes written into a row's Status cell.
inline constexpr const char* kInvariably = "Invariably";
inline constexpr const char* kAlreadyExists = "Already Exists";
inline constexpr const char* kRenamed = "Renamed";
inline constexpr const char* kMoved = "Moved";
inline constexpr const char* kError = "Error";

struct RenameCallbacks {
    ProgressReporter::Callbacks progress;                 // after rows, when the percentage changes
    std::function<void(const std::string& text)> status;  // the final summary
};

// Each operation goes over every row from the top, writes the row's outcome
// into its Status cell (and the new FileName and Path after a success), and
// returns the number of files renamed or moved. The summary goes to
// callbacks.status: "12 files from 15 are renamed" or "... are moved".
// targetFolder is the move target folder as the folder picker gave it.
std::size_t RenameFiles(FileTable& table, const NamingScheme& scheme,
                        const RenameCallbacks& callbacks);
std::size_t MoveFiles(FileTable& table, const std::string& targetFolder,
                      const RenameCallbacks& callbacks);
std::size_t RenameAndMoveFiles(FileTable& table, const NamingScheme& scheme,
                               const std::string& targetFolder, const RenameCallbacks& callbacks);

}  // namespace folivar
