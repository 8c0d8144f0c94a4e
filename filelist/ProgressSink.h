#pragma once

#include <string>

#include "platform/StopQuery.h"

namespace folivar {

// Where a long operation over the file list shows how it goes: the status
// line and the progress bar. The window shows what it is told; tests record
// it. Every operation reports through a ProgressReporter, which decides how
// often the sink hears of it. The same sink is asked whether to stop.
class ProgressSink : public platform::StopQuery {
public:
    // The status line's new text.
    virtual void status(const std::string& text) = 0;

    // The progress bar's new position, 0..100.
    virtual void percent(int percent) = 0;

    // The progress bar takes the place of SCAN, RENAME and FIND DUPL (true)
    // and gives it back (false). Only the export says so, since only it knows
    // late whether it gets to its rows; the window shows the bar itself for
    // the operations that show it from their start.
    virtual void progressShown(bool shown) { static_cast<void>(shown); }

    // The operation is still at it: told at every row, file or folder it gets
    // through, so the window can keep repainting and answering the desktop.
    // How often it takes the chance is the window's affair; nothing is shown.
    virtual void working() {}

    // Whether the user asked the operation to stop: asked at every point where
    // it can end with nothing half done (between rows, files, folders, and
    // the chunks of one large file). Stopped work ends at once and says so in
    // a status text that begins with "Stopped".
    bool stopRequested() override { return false; }

    // A sink that shows nothing, for callers that look only at the outcome.
    static ProgressSink& silent();
};

}  // namespace folivar
