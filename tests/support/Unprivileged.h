#pragma once

#include <functional>
#include <optional>
#include <string>

namespace folivar::test {

// Runs body where file permissions count: in a child process that has dropped
// to the user "nobody" when the tests run as root (as CI does), else right
// here. Returns what body returned; nullopt when the privileges could not be
// dropped. The files body needs must be open to others (TempTree::openToAll).
std::optional<std::string> asUnprivileged(const std::function<std::string()>& body);

}  // namespace folivar::test
