#pragma once

#include <string>
#include <vector>

namespace folivar {

// Drops every PATH entry that another entry covers, that is, whose files a
// scan of the other entry lists as well. Paths compare by whole components,
// byte for byte (Linux file systems tell case apart), with repeated and
// trailing "/" ignored: /data/Photo covers itself and /data/Photo/2004, but not
// /data/Photos, /data/photo, or anything it would leave again through "..".
// Without subfolders an entry covers only an equal one, since a parent's
// subfolders are then not walked. Of equal entries the first stays; of an
// entry and one it covers, the covering one stays, wherever it stands. The
// rest keep their relative order.
void prunePaths(std::vector<std::string>& paths, bool includeSubfolders);

// The PATH list as a scan walks it: pruned, and rid of entries that name no
// existing folder (links followed), the rest in their order.
std::vector<std::string> foldersToScan(std::vector<std::string> paths, bool includeSubfolders);

}  // namespace folivar
