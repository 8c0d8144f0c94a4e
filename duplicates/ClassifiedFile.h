#pragma once

#include "duplicates/FileIdentity.h"

namespace folivar {

// Where the duplicate search put one path.
struct ClassifiedFile {
    static constexpr int kNone = -1;
    // Files of one class hold the same bytes; every class has two or more
    // physical files. kNone: identical to no other file (unreadable, not a
    // regular file, or unique).
    int contentClass = kNone;
    // The file as it was read; valid unless the file could not be read.
    FileIdentity identity;
};

}  // namespace folivar
