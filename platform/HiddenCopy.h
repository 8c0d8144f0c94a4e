#pragma once

#include <string>

#include "platform/FileStatus.h"

namespace folivar::platform {

// A copy of the regular file at path (no link followed) under a fresh hidden
// name beside it (see hiddenSibling), complete and on disk before it takes
// that name, with modified as its modification time; the file must not change
// while it is copied. Returns the hidden name, or "" when no copy was made,
// and then nothing of it is left behind.
std::string copyBeside(const std::string& path, const char* tag, const FileTime& modified);

}  // namespace folivar::platform
