#pragma once

#include <string>

namespace folivar::platform {

// The folder part of a path ("." when it has none, "/" for the root).
std::string folderOf(const std::string& path);

// A fresh hidden name beside path, in the same folder: "." + its name + "." +
// tag + "-" + eight random hex digits, the name cut short where the whole
// would not fit one folder entry. Anyone who finds such a file left behind
// can tell what it was from its name.
std::string hiddenSibling(const std::string& path, const char* tag);

}  // namespace folivar::platform
