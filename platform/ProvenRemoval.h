#pragma once

#include <sys/stat.h>

#include <string>

namespace folivar::platform {

// True when two states are of one physical file (device and inode) whose
// contents stand as they did: size, modification and change times to the
// nanosecond.
bool unchangedFile(const struct stat& before, const struct stat& now);

// Renames from a name that only we use (a hidden temporary one) without ever
// replacing anything, also where the file system cannot refuse by itself.
bool renameWithoutReplacing(const std::string& from, const std::string& to);

enum class RemovalOutcome { Removed, NotTheFile, Failed };

// Removes the entry at path (not following a link) only while it is the file
// described by expected. The name is first taken aside to a hidden name in its
// own folder, so no one can put another file under it between the comparison
// and the removal; what was taken aside is compared (the change time only up
// to the rename, which itself sets it) and then removed, or, when it is
// another file, put back under its name. NotTheFile and Failed leave the
// entry as it was, under its name unless someone has taken that meanwhile;
// then it stays under the hidden name. Where the file system cannot rename
// without replacing, the name is removed right after the comparison.
RemovalOutcome removeIfStill(const std::string& path, const struct stat& expected);

}  // namespace folivar::platform
