#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/LocalTime.h"

namespace folivar {

// Each export writes its workbook into a private folder of its own inside the
// temporary folder: prefix followed by six random characters.
inline constexpr std::string_view kExportFolderPrefix = "folivar-export-";

// How long an export folder is left for the user: a day.
inline constexpr std::int64_t kExportFolderLifetime = 24 * 60 * 60;

// The workbook's file name, with the time of the export in it so that the
// user can tell exports apart: "FileList 2004-07-09 14.05.09.xlsx".
std::string workbookName(const platform::LocalTime& time);

// True for a name that workbookName gives (or "FileList.xlsx", as exports
// were named before).
bool isWorkbookName(std::string_view name);

// Removes the export folders in parent that this user's earlier runs left,
// once the folder and every file in it are older than kExportFolderLifetime
// at now (seconds since 1970). A folder goes only when it holds nothing but
// its workbook: anything else (the lock file of a program that has it open, a
// file the user saved there) keeps it. Returns how many folders went.
std::size_t removeOldExportFolders(const std::string& parent, std::int64_t now);

// At start: the old export folders of the temporary folder, as of now.
// Never throws: a folder that cannot be removed stays.
void removeOldExports() noexcept;

}  // namespace folivar
