#pragma once

#include <optional>
#include <string>
#include <vector>

#include "filelist/ActionButtons.h"

namespace folivar {

// What a SCAN did, for the window to show.
struct ScanOutcome {
    enum class Result {
        NoPath,     // "You must enter a pathname!": beep, focus to the folder edit
        NoMask,     // "You must enter a mask!": beep, focus to the include mask edit
        Stopped,    // the settings stopped it: error holds the message
        Completed,  // the summary is shown; the deletion mode of FIND DUPL ends
    };

    Result result = Result::Completed;
    // The PATH list as the scan walked it (pruned, missing folders gone), also
    // when the settings stopped it; nullopt when it refused to start.
    std::optional<std::vector<std::string>> folders;
    // Stopped: an include or exclude mask that is no mask, or a size that is
    // no whole number. Rows found before stay.
    std::string error;
    ActionButtons buttons;  // Completed: as the rows found allow
    // Completed, but the user stopped the walk: the rows found until then
    // are the list.
    bool stopped = false;
};

}  // namespace folivar
