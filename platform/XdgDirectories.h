#pragma once

#include <string>
#include <vector>

namespace folivar::platform {

// Where the desktop keeps its settings and its programs' entries (the XDG base
// directories), and which desktop runs.
struct XdgDirectories {
    // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS: the most important first.
    std::vector<std::string> configDirs;
    // $XDG_DATA_HOME, then $XDG_DATA_DIRS: the most important first.
    std::vector<std::string> dataDirs;
    // $XDG_CURRENT_DESKTOP's names in lower case, the most important first.
    std::vector<std::string> desktops;

    // From the environment, with the defaults the base directory rules give
    // where a variable is unset, empty or not an absolute path.
    static XdgDirectories fromEnvironment();
};

}  // namespace folivar::platform
