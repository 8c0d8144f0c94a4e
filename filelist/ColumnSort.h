#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "filelist/FileRow.h"
#include "filelist/FileTable.h"

namespace folivar {

// Sorts every row of the table by one column. Ascending: FileName by the
// user's locale (strcoll, case counting), Size and Group as 64-bit whole
// numbers, Modified as dates, the other columns as texts without regard to
// the case of the ASCII letters. Descending negates the ascending comparison,
// except for FileName, which sorts by the case-blind text comparison negated.
// Rows that rank equal keep their order.
//
// Every cell is read before any row moves: a Size or Group cell that is not a
// whole number, or a Modified cell that is not a date, throws EConvertError
// (the first such cell in list order) and leaves the table as it was.
//
// Returns the order applied: element k is the former index of the row that
// now stands at k (the window carries its selection across with it).
std::vector<std::size_t> sortRows(FileTable& table, TFileColumn column, bool descending);

// A click on the header of column (0..6): sorts descending when the column is
// the last sorted one, ascending otherwise; then sets lastSortedColumn to -1
// after a descending sort and to column after an ascending one. On a
// conversion error lastSortedColumn keeps its value.
std::vector<std::size_t> clickColumn(FileTable& table, int column, int8_t& lastSortedColumn);

}  // namespace folivar
