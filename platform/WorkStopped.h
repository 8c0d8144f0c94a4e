#pragma once

#include <exception>

namespace folivar::platform {

// Thrown at a safe point when the StopQuery asked to stop, out of work nested
// too deep to end by returning; the command that started the work catches it
// and ends as stopped work ends.
class WorkStopped : public std::exception {
public:
    const char* what() const noexcept override { return "The work was stopped"; }
};

}  // namespace folivar::platform
