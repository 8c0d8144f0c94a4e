#pragma once

#include <string>
#include <vector>

#include "search/DateTime.h"
#include "search/EasyFileSearch.h"

namespace folivar {

// What a scan is to look for, in the search component's own terms. The
// defaults are the window's at start.
struct ScanSettings {
    std::vector<std::string> folders;  // the PATH list, walked in this order
    std::vector<std::string> includeMasks{"*.*"};
    std::vector<std::string> excludeMasks;

    // The attributes to look for and whether to walk into subfolders;
    // okLookForDirectory is never asked for.
    TOptions options{okIncludeSubfolder,  okLookForAnyFile,    okLookForReadOnlyFile,
                     okLookForHiddenFile, okLookForSystemFile, okLookForArchiveFile};

    bool filterOnDate = false;
    TDateFilterAccessKind dateAccess = dfakModifiedFiles;
    TDateFilterKind dateKind = dfkSame;
    TDateTime firstDate = 0;
    TDateTime secondDate = 0;

    bool filterOnSize = false;
    TSizeFilterKind sizeKind = sfkSmallerOrEqualTo;
    std::string sizeText = "0";  // as typed; read even when the size filter is off

    bool shortNamesOnly = false;
};

}  // namespace folivar
