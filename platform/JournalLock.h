#pragma once

#include <optional>
#include <string>

#include "platform/Descriptor.h"

namespace folivar::platform {

// The lock that lets one batch or undo at a time work on the journal, across
// every instance of the program: an exclusive flock on the file "lock" in the
// journal's folder, held for as long as the object lives. The kernel lets go
// of it when its process dies, so a lock is never left behind by a kill.
class JournalLock {
public:
    enum class Result {
        Taken,     // the lock is ours
        Busy,      // a live instance holds it
        NoFolder,  // the folder is not there: no journal at all
        Unusable,  // the lock file cannot be used; why says what stands there
    };

    // Takes the lock without waiting, making its file when there is none.
    static Result take(const std::string& folder, std::optional<JournalLock>& lock,
                       std::string& why);

    // The lock file's name in the folder.
    static constexpr const char* kFileName = "lock";

private:
    explicit JournalLock(Descriptor fd) : fd_(std::move(fd)) {}

    Descriptor fd_;
};

}  // namespace folivar::platform
