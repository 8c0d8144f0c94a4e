#pragma once

namespace folivar::platform {

// What a long call asks at every point where it can end without leaving
// anything half done: whether to end there. The window answers after a look
// at its events (a click on Stop, the Esc key), so it is asked on the
// caller's thread only, between steps short enough for the answer to come
// quickly.
class StopQuery {
public:
    virtual ~StopQuery() = default;

    virtual bool stopRequested() = 0;

    // A query that never asks to stop.
    static StopQuery& never();
};

}  // namespace folivar::platform
