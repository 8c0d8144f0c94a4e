#pragma once

#include <cstdint>
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
    void clear();
    void markOriginal(const std::string& path, std::int32_t group, const FileIdentity& identity);
    void markDuplicate(const std::string& path, std::int32_t group, const FileIdentity& identity);

    // True when path was marked a duplicate by the last search, is still that
    // physical file with the same size and modification time, and its group's
    // original is too.
    bool safeToDelete(const std::string& path) const;

    // The file at path is gone.
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
