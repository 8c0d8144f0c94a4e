#pragma once

#include <string>
#include <string_view>

#include "search/DateTime.h"
#include "search/FileSearch.h"

namespace folivar {

// The text of a Modified cell: day.month.year, day and month without leading
// zeros, the year with four digits (9 July 2004 gives 9.7.2004).
std::string DateToStr(const TSystemTime& time);

// Reads a Modified cell back: day.month.year in digits (leading zeros allowed),
// a real calendar day. Anything else throws EConvertError with
// "'<text>' is not a valid date".
TDateTime StrToDate(std::string_view text);

}  // namespace folivar
