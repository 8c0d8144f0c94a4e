#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "search/DateTime.h"
#include "search/WalkReadAhead.h"

namespace folivar {

struct TSystemTime {
    uint16_t Year, Month, DayOfWeek, Day, Hour, Minute, Second, Milliseconds;
};

// Attribute bits of an entry.
constexpr int32_t faReadOnly = 0x01;   // the owner may not write it
constexpr int32_t faHidden = 0x02;     // its name begins with "."
constexpr int32_t faSysFile = 0x04;    // neither a regular file nor a folder
constexpr int32_t faDirectory = 0x10;  // a folder (after following a symbolic link)
constexpr int32_t faArchive = 0x20;    // a regular file

struct TFileInformations {
    std::string Name, Path;  // Path is the folder listed, ending in "/"
    int32_t Attr;
    int64_t Size;  // bytes; 0 for a folder
    TSystemTime CreationTime, LastAccessTime, LastWriteTime;
};

struct TStatistics {
    int32_t FilesFound, FoldersWithFiles, DirectoriesFound, ElapsedTime,
        FoldersUnreadable;  // folders whose listing could not be started (or not entered)
};

enum TDateFilterAccessKind : uint8_t {
    dfakCreatedFiles,
    dfakModifiedFiles,
    dfakOpenedFiles,
    dfakAnyFiles
};
enum TDateFilterKind : uint8_t { dfkBetween, dfkBefore, dfkAfter, dfkSame };
enum TSizeFilterKind : uint8_t { sfkSmallerOrEqualTo, sfkBiggerOrEqualTo };

using TOnFileFound = std::function<void(TFileInformations)>;
using TOnAcceptFile = std::function<bool(TFileInformations)>;
using TOnChangeFolder = std::function<void(std::string)>;
using TOnStatistics = std::function<void(TStatistics)>;

// Walks a folder tree breadth-first from RootPath and reports every entry that
// passes the attribute, date, size, exclude and include tests.
class TFileSearch {
public:
    TFileSearch();

    bool IncludeSubfolder = false;
    bool LookForReadOnlyFile = true;
    bool LookForHiddenFile = true;
    bool LookForSystemFile = true;
    bool LookForDirectory = true;
    bool LookForArchiveFile = true;
    bool LookForAnyFile = true;

    bool FilterOnDate = false;
    TDateFilterAccessKind DateFilterFileAccess = dfakAnyFiles;
    TDateFilterKind DateFilterKind = dfkBefore;
    TDateTime DateFilterFirstDate;   // today at midnight
    TDateTime DateFilterSecondDate;  // today at midnight

    bool FilterOnSize = false;
    TSizeFilterKind SizeFilterKind = sfkSmallerOrEqualTo;
    int64_t SizeFilterSize = 0;

    std::vector<std::string> FileNames{"*.*"};  // include masks
    std::vector<std::string> ExcludedFiles;     // exclude masks
    std::string RootPath = "./";

    // How many requests the walk keeps in flight and how far they may run ahead;
    // what the walk reports does not depend on it.
    WalkReadAhead ReadAhead;

    TOnFileFound OnFileFound;
    TOnAcceptFile OnAcceptFile;
    TOnChangeFolder OnChangeFolder;
    TOnStatistics OnStatistics;

    // One walk. False when some folder could not be listed (it is skipped and
    // counted in FoldersUnreadable; the walk goes on). An invalid mask or an
    // exception from an event leaves at once, without OnStatistics.
    bool Search();
};

}  // namespace folivar
