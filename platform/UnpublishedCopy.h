#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/Descriptor.h"
#include "platform/StopQuery.h"

namespace folivar::platform {

// A copy of a regular file made in the folder of its destination that does
// not carry the destination's name until it is complete and on disk: it has
// no name at all (O_TMPFILE) or, where the file system cannot do that, a
// hidden temporary one. Whatever was not published is taken away with the
// object, and a copy killed halfway leaves no name or a clearly temporary one.
class UnpublishedCopy {
public:
    // Creates the empty copy for destination; valid() tells whether it worked.
    explicit UnpublishedCopy(std::string destination);
    ~UnpublishedCopy();
    UnpublishedCopy(const UnpublishedCopy&) = delete;
    UnpublishedCopy& operator=(const UnpublishedCopy&) = delete;

    bool valid() const { return out_.valid(); }

    // Copies the contents of in (of the state source) with its holes, then
    // owner, extended attributes (and so access control lists) where the
    // destination accepts them, mode and times, and flushes it all. Asks stop
    // before each chunk of data and before the flush: false when asked to
    // stop, with the copy still unpublished.
    bool fill(int in, const struct stat& source, StopQuery& stop = StopQuery::never());

    // Gives the copy its final name, never replacing a file, and flushes the
    // folder. False when the name is taken or anything failed: the copy is
    // then still unpublished.
    bool publish();

    // The published copy's state, for a removal that must prove it is ours.
    bool state(struct stat& out) const;

    // For tests: make copies under a hidden temporary name, as where O_TMPFILE
    // is not offered.
    static void setUnnamedAllowed(bool allowed);

private:
    std::string destination_;
    std::string temporary_;  // the hidden name, or "" for an unnamed copy
    Descriptor out_;
    bool published_ = false;
};

}  // namespace folivar::platform
