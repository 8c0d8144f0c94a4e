#pragma once

#include <functional>
#include <vector>

namespace bench {

// The middle of the timings (the mean of the middle two for an even count,
// 0 for none).
double median(std::vector<double> values);

// Runs child in a process of its own (it execs the peer tool, or _exits) and
// returns the milliseconds from the fork to its end. A child that does not
// exit with 0 ends the bench: "FAIL: <what> exited with <status>".
double timedChild(const char* what, const std::function<void()>& child);

}  // namespace bench
