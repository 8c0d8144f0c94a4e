#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/StopQuery.h"

namespace folivar::platform {

// Renames or moves one file and never replaces anything at the destination.
// Across file systems, and where one can neither rename without replacing
// nor link, the file is copied (holes, mode, times and extended attributes
// kept where the destination accepts them) without carrying its final name
// until it is complete and on disk; then the source is removed, but only
// while it is provably the very file copied, unchanged. On any failure the
// copy is removed and the source is left as it was. False when the file was
// not moved. A copy asks stop between its chunks and before it is
// published; asked to stop, it is abandoned as a failed one is.
bool posixMoveFile(const std::string& from, const std::string& to,
                   StopQuery& stop = StopQuery::never());

// For tests: the moments of a move by copy at which someone else may act,
// so that races can be played out exactly.
enum class MoveStep : std::uint8_t {
    Copying,  // the source is open and its copy made, still empty and unpublished
    Copied,   // the copy carries its final name; the source is not yet removed
};
using MoveStepHook = std::function<void(MoveStep step, const std::string& from)>;

// Puts hook in place (an empty one: none) and returns the one it replaces.
MoveStepHook setMoveStepHook(MoveStepHook hook);

}  // namespace folivar::platform
