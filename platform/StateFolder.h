#pragma once

#include <string>

namespace folivar::platform {

// The program's own folder under the user's state folder: $XDG_STATE_HOME
// when it is an absolute path, else ~/.local/state; then "/folivar". Empty
// when neither that nor $HOME is set.
std::string stateFolder();

// Makes the folder and any missing parents, each for its owner only (0700),
// and takes the folder itself back to 0700 when it is ours and was opened to
// others. False when it is not a folder we can use afterwards.
bool makePrivateFolder(const std::string& path);

}  // namespace folivar::platform
