#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "filelist/FileRow.h"
#include "search/FileSearch.h"

namespace folivar {

// The Type cell of a name: the text after its last ".", case kept; empty
// when the name holds no ".".
std::string typeOfName(std::string_view name);

// The longest part before the last "." that a short name may have.
inline constexpr std::size_t kShortNameBaseLength = 8;

// The short-name test of a scan: rejects a name whose last "." stands at
// position 10 or later (nine or more characters before it), counting UTF-8
// characters, not bytes. A name without "." passes whatever its length; the
// extension's length is not looked at.
bool isShortName(std::string_view name);

// The row the scan adds for a found file: name, folder, the whole 64-bit size,
// type, day.month.year of the last write, group "0" and status "-".
FileRow rowFromFile(const TFileInformations& file);

}  // namespace folivar
