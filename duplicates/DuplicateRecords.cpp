#include "duplicates/DuplicateRecords.h"

#include "platform/FileSystem.h"

namespace folivar {

namespace {

bool stillIs(const std::string& path, const FileIdentity& identity) {
    platform::FileStatus status;
    return platform::fileSystem().status(path, true, status) && status.isRegular() &&
           FileIdentity::of(status) == identity;
}

}  // namespace

void DuplicateRecords::clear() {
    duplicates_.clear();
    originals_.clear();
}

void DuplicateRecords::markOriginal(const std::string& path, std::int32_t group,
                                    const FileIdentity& identity) {
    originals_[group] = Original{path, identity};
}

void DuplicateRecords::markDuplicate(const std::string& path, std::int32_t group,
                                     const FileIdentity& identity) {
    duplicates_[path] = Marked{group, identity};
}

bool DuplicateRecords::safeToDelete(const std::string& path) const {
    const auto duplicate = duplicates_.find(path);
    if (duplicate == duplicates_.end()) {
        return false;
    }
    const auto original = originals_.find(duplicate->second.group);
    if (original == originals_.end() ||
        original->second.identity.samePhysicalFile(duplicate->second.identity)) {
        return false;
    }
    return stillIs(path, duplicate->second.identity) &&
           stillIs(original->second.path, original->second.identity);
}

void DuplicateRecords::forget(const std::string& path) {
    duplicates_.erase(path);
}

}  // namespace folivar
