#pragma once

#include <map>
#include <string>

namespace folivar::test {

// Every entry under root by its path relative to root: a file's contents, a
// folder as "<folder>", a link as "<link to TARGET>". Two snapshots are equal
// when every path holds the same bytes.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot snapshotOf(const std::string& root);

}  // namespace folivar::test
