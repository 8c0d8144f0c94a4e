#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "duplicates/FileIdentity.h"

namespace folivar {

// What a search remembers of the files it marked, by full path, so that the
// deletion removes a file only while it is still the file that was compared
// and the first file of its group is still there as it was. The table holds
// texts only, and rows may be sorted or removed between search and deletion.
class DuplicateRecords {
public:
    // A marked duplicate and its group's original, as they were compared.
    struct Pair {
        std::int32_t group = 0;
        FileIdentity duplicate;
        std::string originalPath;
        FileIdentity original;
    };

    void clear();
    void markOriginal(const std::string& path, std::int32_t group, const FileIdentity& identity);
    void markDuplicate(const std::string& path, std::int32_t group, const FileIdentity& identity);

    // The pair of path when the last search marked it a duplicate and its
    // group has an original that is another physical file.
    std::optional<Pair> pairOf(const std::string& path) const;

    // True when path was marked a duplicate by the last search, is still that
    // physical file with the same size and modification time, and its group's
    // original is too.
    bool safeToDelete(const std::string& path) const;

    // The marked duplicate at path becomes its group's original and the
    // former original a duplicate, each with the identity it was compared
    // with. Returns the former original's path; nullopt when path is no
    // marked duplicate.
    std::optional<std::string> makeOriginal(const std::string& path);

    // The marked file at path (a duplicate, or its group's original) was
    // changed by us without a change to its bytes: now is what it is.
    void follow(const std::string& path, std::int32_t group, const FileIdentity& now);

    // The file at path is gone, or no longer a file of its own.
    void forget(const std::string& path);

private:
    struct Marked {
        std::int32_t group = 0;
        FileIdentity identity;
    };
    struct Original {
        std::string path;
        FileIdentity identity;
    };

    std::unordered_map<std::string, Marked> duplicates_;
    std::unordered_map<std::int32_t, Original> originals_;
};

}  // namespace folivar
