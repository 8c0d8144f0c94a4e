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

std::optional<DuplicateRecords::Pair> DuplicateRecords::pairOf(const std::string& path) const {
    const auto duplicate = duplicates_.find(path);
    if (duplicate == duplicates_.end()) {
        return std::nullopt;
    }
    const auto original = originals_.find(duplicate->second.group);
    if (original == originals_.end() ||
        original->second.identity.samePhysicalFile(duplicate->second.identity)) {
        return std::nullopt;
    }
    return Pair{duplicate->second.group, duplicate->second.identity, original->second.path,
                original->second.identity};
}

bool DuplicateRecords::safeToDelete(const std::string& path) const {
    const std::optional<Pair> pair = pairOf(path);
    return pair && stillIs(path, pair->duplicate) && stillIs(pair->originalPath, pair->original);
}

std::optional<std::string> DuplicateRecords::makeOriginal(const std::string& path) {
    const auto duplicate = duplicates_.find(path);
    if (duplicate == duplicates_.end()) {
        return std::nullopt;
    }
    const Marked chosen = duplicate->second;
    const auto original = originals_.find(chosen.group);
    if (original == originals_.end()) {
        return std::nullopt;
    }
    Original former = std::move(original->second);
    original->second = Original{path, chosen.identity};
    duplicates_.erase(duplicate);
    duplicates_[former.path] = Marked{chosen.group, former.identity};
    return former.path;
}

void DuplicateRecords::follow(const std::string& path, std::int32_t group,
                              const FileIdentity& now) {
    const auto duplicate = duplicates_.find(path);
    if (duplicate != duplicates_.end() && duplicate->second.group == group) {
        duplicate->second.identity = now;
    }
    const auto original = originals_.find(group);
    if (original != originals_.end() && original->second.path == path) {
        original->second.identity = now;
    }
}

void DuplicateRecords::forget(const std::string& path) {
    duplicates_.erase(path);
}

}  // namespace folivar
