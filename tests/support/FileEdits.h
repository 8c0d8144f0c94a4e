#pragma once

#include <cstddef>
#include <string>

namespace folivar::test {

// The whole contents of a file ("" when it cannot be read).
std::string contentsOf(const std::string& path);

// Saves a new version the way editors do: a temporary file beside it,
// renamed over the old one (a new inode under the same name).
void saveAsEditorsDo(const std::string& path, const std::string& contents);

// Overwrites the file in place (from offset) and sets its modification time
// back, as a careless tool can: only the change time tells, and it does
// move, however coarse the file system's clock.
void editInPlaceKeepingTheTime(const std::string& path, const std::string& bytes,
                               std::size_t offset = 0);

}  // namespace folivar::test
