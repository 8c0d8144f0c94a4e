#pragma once

#include <string>
#include <vector>

#include "filelist/FileTable.h"

namespace folivar::test {

// Appends the row a scan would add for the file at path (links followed for
// the size), split into folder and name at the last "/".
void addRow(FileTable& table, const std::string& path);

// "name group status" for every row, in list order.
std::vector<std::string> marks(const FileTable& table);

}  // namespace folivar::test
