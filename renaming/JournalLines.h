#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileStatus.h"

namespace folivar {

// A moved file as it stood just after its move: an undo takes back only this
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
};

// The undo journal is text, one record a line, fields split by tabs, paths
// with "\", tab and line feed escaped; a line cut short by a kill is ignored.
//   folivar undo journal 1          the first line
//   batch <rows>                    the list's row count
//   F <id> <folder>                 a folder the lines below name by number
//   P <row> <folder> <name> <folder> <name>   a row that is to move, from, to
//   begin                           the batch is on disk: files may move now
//   I <row> <path>                  the exact destination, when not the planned one,
//                                   written out before that move
//   M <row> <device> <inode> <size> <sec> <nsec>   a move made ("-": unknown identity)
//   end                             the batch ran to its end
//   undo / undone                   an undo began / ended
//   kept                            the user chose to keep an interrupted batch
namespace journal {

inline constexpr std::string_view kFirstLine = "folivar undo journal 1\n";
inline constexpr std::string_view kBegin = "begin\n";
inline constexpr std::string_view kEnd = "end\n";
inline constexpr std::string_view kUndo = "undo\n";
inline constexpr std::string_view kUndone = "undone\n";
inline constexpr std::string_view kKept = "kept\n";

void appendBatchLine(std::string& out, std::size_t rows);
void appendFolderLine(std::string& out, std::size_t id, std::string_view folder);
void appendPlannedLine(std::string& out, std::size_t row, std::size_t fromFolder,
                       std::string_view fromName, std::size_t toFolder, std::string_view toName);
void appendIntentLine(std::string& out, std::size_t row, std::string_view to);
void appendMovedLine(std::string& out, std::size_t row,
                     const std::optional<MovedIdentity>& identity);

// A field as written, and back.
void appendEscaped(std::string& out, std::string_view text);
std::string unescaped(std::string_view field);

}  // namespace journal

}  // namespace folivar
