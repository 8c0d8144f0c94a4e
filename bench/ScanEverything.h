#pragma once

#include "filelist/FileTable.h"
#include "filelist/RowTexts.h"
#include "search/EasyFileSearch.h"

namespace folivar::bench {

// The rows SCAN adds for every regular file below root (mask "*", with
// subfolders), as the duplicate benches start from.
inline FileTable scanEverything(const char* root) {
    FileTable table;
    TEasyFileSearch scan;
    scan.SetRootPath(root);
    scan.SetFileNames({"*"});
    scan.SetSearchOptions({okIncludeSubfolder, okLookForArchiveFile});
    scan.OnFileFound = [&](TFileInformations file) { table.append(rowFromFile(file)); };
    scan.Execute();
    return table;
}

}  // namespace folivar::bench
