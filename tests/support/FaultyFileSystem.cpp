#include "support/FaultyFileSystem.h"

namespace folivar::test {

class FaultyFileSystem::CountingListing : public platform::DirectoryListing {
public:
    CountingListing(std::unique_ptr<platform::DirectoryListing> real, int& calls)
        : real_(std::move(real)), calls_(calls) {}

    std::uint64_t device() const override { return real_->device(); }
    std::uint64_t inode() const override { return real_->inode(); }
    bool next(platform::DirectoryEntry& entry) override { return real_->next(entry); }
    bool status(const platform::DirectoryEntry& entry, bool follow,
                platform::FileStatus& out) override {
        ++calls_;
        return real_->status(entry, follow, out);
    }

private:
    std::unique_ptr<platform::DirectoryListing> real_;
    int& calls_;
};

FaultyFileSystem::FaultyFileSystem() : real_(platform::setFileSystem(this)) {}

FaultyFileSystem::~FaultyFileSystem() {
    platform::setFileSystem(real_);
}

std::unique_ptr<platform::DirectoryListing> FaultyFileSystem::openDirectory(
    const std::string& path) {
    if (unlistable_.count(path) != 0) {
        return nullptr;
    }
    auto listing = real_->openDirectory(path);
    if (!listing) {
        return nullptr;
    }
    return std::make_unique<CountingListing>(std::move(listing), statusCalls_);
}

bool FaultyFileSystem::status(const std::string& path, bool follow, platform::FileStatus& out) {
    ++statusCalls_;
    return real_->status(path, follow, out);
}

bool FaultyFileSystem::moveFile(const std::string& from, const std::string& to) {
    if (unmovable_.count(to) != 0) {
        return false;
    }
    return real_->moveFile(from, to);
}

}  // namespace folivar::test
