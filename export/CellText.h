#pragma once

#include <string>
#include <string_view>

namespace folivar {

// A list text as a workbook cell must hold it so that a spreadsheet reads back
// the same characters. The list shows names as UTF-8, with each byte that is
// not part of a valid sequence shown as U+FFFD, and so does the cell. Inside
// the cell's XML, characters XML cannot carry (control characters but tab and
// line feed, U+FFFE, U+FFFF) are written as the "_xHHHH_" escape that
// spreadsheets decode, and a literal "_xHHHH_" gets its underscore escaped so
// it is not decoded. Texts that need none of this come back unchanged.
std::string cellText(std::string_view text);

// True when cellText(text) would return text unchanged (the common case,
// checked without allocating).
bool isPlainCellText(std::string_view text);

}  // namespace folivar
