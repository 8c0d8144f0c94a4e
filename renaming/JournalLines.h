#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileStatus.h"
#include "platform/LocalTime.h"

namespace folivar {

// A file as the journal knows it: a row's source before the batch, or the
// file a move made, as it stood just after it. An undo takes back only this
// very file, unchanged (a rename keeps the inode, a move to another file
// system makes a new one; the change time moves with every rename, so it is
// not compared).
struct MovedIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    platform::FileTime modified;

    static MovedIdentity of(const platform::FileStatus& status);
    friend bool operator==(const MovedIdentity&, const MovedIdentity&) = default;

    // The same size and modification time to the nanosecond: what a copy to
    // another file system keeps.
    bool sameState(const MovedIdentity& other) const {
        return size == other.size && modified == other.modified;
    }
    // A file found after a move is this source moved: the very file, or its
    // copy on another device.
    bool movedTo(const MovedIdentity& found) const {
        return sameState(found) && (found.device != device || found.inode == inode);
    }
};

// Where a batch stands, as the last of its status lines tells.
enum class BatchState : std::uint8_t {
    Unknown,  // not begun: no file has moved
    Running,  // "begin": files move; not ended, maybe killed
    Ended,    // "end"
    Kept,     // "kept": interrupted, and the user chose to keep it
    Undoing,  // "undo": an undo runs, or was killed
    Undone,   // "undone"
    Void,     // "void": out of the undo's reach, and so is every batch before it
};

// Files of the batch may still be taken back.
inline bool isUndoable(BatchState state) {
    return state == BatchState::Running || state == BatchState::Ended ||
           state == BatchState::Kept || state == BatchState::Undoing;
}
// A batch or its undo that did not end, and that nobody has decided on yet.
inline bool isInterrupted(BatchState state) {
    return state == BatchState::Running || state == BatchState::Undoing;
}

// The undo journal is a folder of files, one a batch ("batch-<number>", the
// highest the newest), each text, one record a line, fields split by tabs,
// paths with "\", tab and line feed escaped; a line cut short by a kill is
// ignored.
//   folivar undo journal 2          the first line
//   batch <rows> <when>             the list's row count, the local time it began
//   F <id> <folder>                 a folder the lines below name by number
//   P <row> <folder> <name> <folder> <name>   a row that is to move, from, to
//   A <entry> <row> <folder> <name> <folder> <name>   a side file that is to move
//                                   right after its row's file, from, to; side
//                                   files are entries numbered on from the rows'
//                                   count, in the order they move, and the lines
//                                   below name them by that number as rows
//   begin                           the batch is on disk: files may move now
//   S <row> <device> <inode> <size> <sec> <nsec>   the file of a row as it stood
//                                   before its move, written before it moves
//                                   ("-": it could not be looked at)
//   I <row> <path>                  the exact destination, when not the planned one,
//                                   written out before that move
//   M <row>                         a move made, which kept the file as its S line
//                                   tells it (a rename)
//   M <row> <device> <inode> <size> <sec> <nsec>   a move made, and the file it
//                                   made ("-": unknown identity)
//   D <n> <path>                    folder n is missing and is made next for a date
//                                   folder, written out before it is made
//   C <n> <device> <inode>          folder n was made, and is this folder
//   C <n> -                         folder n was not made by the batch
//   L <row> <path> <original> <aside> <device> <inode> <size> <sec> <nsec>
//     <device> <inode> <size> <sec> <nsec>
//                                   LINK DUPL: the "Dupl" at path is to become
//                                   another name of its "Orig" through the hidden
//                                   name aside; both files as compared; on disk
//                                   before the link is made
//   K <row>                         that link made
//   H <row> <path>                  LINK DUPL: the data of the "Dupl" at path is
//                                   shared with its "Orig" (nothing to take back)
//   end                             the batch ran to its end
//   undo / undone                   an undo began / ended
//   kept                            the user chose to keep an interrupted batch
//   void                            a later batch ran without a journal: no undo
//                                   reaches this one or any before it
// A batch is a rename batch (P lines) or a LINK DUPL one (L and H lines).
// Version 1, the one file "journal" of older versions, has no time and no S
// lines.
namespace journal {

inline constexpr std::string_view kFirstLine = "folivar undo journal 2\n";
inline constexpr std::string_view kFirstLineV1 = "folivar undo journal 1\n";
inline constexpr std::string_view kBegin = "begin\n";
inline constexpr std::string_view kEnd = "end\n";
inline constexpr std::string_view kUndo = "undo\n";
inline constexpr std::string_view kUndone = "undone\n";
inline constexpr std::string_view kKept = "kept\n";
inline constexpr std::string_view kVoid = "void\n";

// "2026-12-02 08:14:05"
std::string whenText(const platform::LocalTime& time);

void appendBatchLine(std::string& out, std::size_t rows, std::string_view when);
void appendFolderLine(std::string& out, std::size_t id, std::string_view folder);
void appendPlannedLine(std::string& out, std::size_t row, std::size_t fromFolder,
                       std::string_view fromName, std::size_t toFolder, std::string_view toName);
void appendSourceLine(std::string& out, std::size_t row,
                      const std::optional<MovedIdentity>& identity);
void appendSideLine(std::string& out, std::size_t entry, std::size_t row, std::size_t fromFolder,
                    std::string_view fromName, std::size_t toFolder, std::string_view toName);
void appendIntentLine(std::string& out, std::size_t row, std::string_view to);
void appendMakingLine(std::string& out, std::size_t folder, std::string_view path);
void appendMadeLine(std::string& out, std::size_t folder, const platform::FileStatus* made);
void appendMovedLine(std::string& out, std::size_t row);
void appendMovedLine(std::string& out, std::size_t row,
                     const std::optional<MovedIdentity>& identity);

void appendLinkLine(std::string& out, std::size_t row, std::string_view path,
                    std::string_view original, std::string_view aside,
                    const MovedIdentity& duplicate, const MovedIdentity& originalFile);
void appendLinkedLine(std::string& out, std::size_t row);
void appendSharedLine(std::string& out, std::size_t row, std::string_view path);

// The state a status line sets; nullopt for the other lines.
std::optional<BatchState> stateOfLine(std::string_view line);

// The state of a batch from the last bytes of its journal: its last whole
// line, when that is a status line; else it was cut short while running.
BatchState stateOfTail(std::string_view tail);

// A field as written, and back.
void appendEscaped(std::string& out, std::string_view text);
std::string unescaped(std::string_view field);

}  // namespace journal

}  // namespace folivar
