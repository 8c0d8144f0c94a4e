#pragma once

#include <string>

namespace folivar::platform {

// Renames or moves one file and never replaces anything at the destination.
// Across file systems the file is copied into an exclusively created
// destination (mode and times kept, flushed to disk) and only then is the
// source removed; on any failure the partial copy is removed and the source is
// left as it was. False when the file was not moved.
bool posixMoveFile(const std::string& from, const std::string& to);

}  // namespace folivar::platform
