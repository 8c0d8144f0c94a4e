#pragma once

#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace folivar::test {

// Puts itself in place of the file system for its lifetime and makes chosen
// calls fail; everything else goes to the file system it replaced.
class FaultyFileSystem : public platform::FileSystem {
public:
    FaultyFileSystem();
    ~FaultyFileSystem() override;
    FaultyFileSystem(const FaultyFileSystem&) = delete;
    FaultyFileSystem& operator=(const FaultyFileSystem&) = delete;

    // Listing this folder (given as the walker asks for it) cannot be started.
    void failOpenDirectory(const std::string& path) { unlistable_.insert(path); }

    // Moving to this destination fails, and nothing is touched.
    void failMoveTo(const std::string& path) { unmovable_.insert(path); }

    // How often a status was asked for, listings' entries included.
    int statusCalls() const { return statusCalls_; }

    std::unique_ptr<platform::DirectoryListing> openDirectory(const std::string& path) override;
    bool status(const std::string& path, bool follow, platform::FileStatus& out) override;
    bool moveFile(const std::string& from, const std::string& to) override;

private:
    class CountingListing;

    platform::FileSystem* real_;
    std::set<std::string> unlistable_;
    std::set<std::string> unmovable_;
    int statusCalls_ = 0;
};

}  // namespace folivar::test
