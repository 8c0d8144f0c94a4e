#include "support/FaultyFileSystem.h"

#include <algorithm>

namespace folivar::test {

class FaultyFileSystem::CountingListing : public platform::DirectoryListing {
public:
    CountingListing(std::unique_ptr<platform::DirectoryListing> real, std::atomic<int>& calls,
                    std::string folder, const std::set<std::string>& missing,
                    std::atomic<int>& open)
        : real_(std::move(real)),
          calls_(calls),
          folder_(folder.empty() || folder.back() == '/' ? folder : folder + '/'),
          missing_(missing),
          open_(open) {}
    ~CountingListing() override { --open_; }
    CountingListing(const CountingListing&) = delete;
    CountingListing& operator=(const CountingListing&) = delete;

    std::uint64_t device() const override { return real_->device(); }
    std::uint64_t inode() const override { return real_->inode(); }
    bool next(platform::DirectoryEntry& entry) override { return real_->next(entry); }
    bool status(const platform::DirectoryEntry& entry, bool follow,
                platform::FileStatus& out) override {
        ++calls_;
        return missing_.count(folder_ + std::string(entry.name)) == 0 &&
               real_->status(entry, follow, out);
    }

private:
    std::unique_ptr<platform::DirectoryListing> real_;
    std::atomic<int>& calls_;
    std::string folder_;
    const std::set<std::string>& missing_;
    std::atomic<int>& open_;
};

// Reads the whole listing at once and hands it out in name order.
class FaultyFileSystem::SortedListing : public platform::DirectoryListing {
public:
    SortedListing(std::unique_ptr<platform::DirectoryListing> real, bool descending)
        : real_(std::move(real)) {
        platform::DirectoryEntry entry;
        while (real_->next(entry)) {
            entries_.emplace_back(std::string(entry.name), entry.kind);
        }
        std::sort(entries_.begin(), entries_.end());
        if (descending) {
            std::reverse(entries_.begin(), entries_.end());
        }
    }

    std::uint64_t device() const override { return real_->device(); }
    std::uint64_t inode() const override { return real_->inode(); }
    bool next(platform::DirectoryEntry& entry) override {
        if (next_ == entries_.size()) {
            return false;
        }
        entry.name = entries_[next_].first;
        entry.kind = entries_[next_].second;
        ++next_;
        return true;
    }
    bool status(const platform::DirectoryEntry& entry, bool follow,
                platform::FileStatus& out) override {
        return real_->status(entry, follow, out);
    }

private:
    std::unique_ptr<platform::DirectoryListing> real_;
    std::vector<std::pair<std::string, platform::EntryKind>> entries_;
    std::size_t next_ = 0;
};

class FaultyFileSystem::FailingReader : public platform::FileReader {
public:
    explicit FailingReader(std::unique_ptr<platform::FileReader> real) : real_(std::move(real)) {}
    const platform::FileStatus& status() const override { return real_->status(); }
    std::int64_t read(char*, std::size_t) override { return -1; }

private:
    std::unique_ptr<platform::FileReader> real_;
};

class FaultyFileSystem::CountingReader : public platform::FileReader {
public:
    CountingReader(std::unique_ptr<platform::FileReader> real, std::int64_t& bytes, int& open,
                   std::mutex& mutex, const platform::FileStatus& status)
        : real_(std::move(real)), bytes_(bytes), open_(open), mutex_(mutex), status_(status) {}
    ~CountingReader() override {
        std::lock_guard lock(mutex_);
        --open_;
    }
    CountingReader(const CountingReader&) = delete;
    CountingReader& operator=(const CountingReader&) = delete;
    const platform::FileStatus& status() const override { return status_; }
    std::int64_t read(char* buffer, std::size_t size) override {
        const std::int64_t count = real_->read(buffer, size);
        std::lock_guard lock(mutex_);
        bytes_ += count > 0 ? count : 0;
        return count;
    }
    void willNeed(std::int64_t offset, std::int64_t length) override {
        real_->willNeed(offset, length);
    }

private:
    std::unique_ptr<platform::FileReader> real_;
    std::int64_t& bytes_;  // guarded by mutex_, as open_
    int& open_;
    std::mutex& mutex_;
    platform::FileStatus status_;
};

FaultyFileSystem::FaultyFileSystem() : real_(platform::setFileSystem(this)) {}

FaultyFileSystem::~FaultyFileSystem() {
    platform::setFileSystem(real_);
}

std::unique_ptr<platform::DirectoryListing> FaultyFileSystem::openDirectory(
    const std::string& path, platform::OpenFailure& failure) {
    ++foldersOpened_;
    failure = platform::OpenFailure::Unreadable;
    if (unlistable_.count(path) != 0) {
        return nullptr;
    }
    // Taken before the open, so that no other thread slips past the limit.
    int open = openListings_.load();
    do {
        if (listingLimit_ >= 0 && open >= listingLimit_) {
            ++listingRefusals_;
            failure = platform::OpenFailure::OutOfDescriptors;
            return nullptr;
        }
    } while (!openListings_.compare_exchange_weak(open, open + 1));
    auto listing = real_->openDirectory(path, failure);
    if (!listing) {
        --openListings_;
        return nullptr;
    }
    if (order_ != Order::AsListed) {
        listing = std::make_unique<SortedListing>(std::move(listing), order_ == Order::Descending);
    }
    return std::make_unique<CountingListing>(std::move(listing), statusCalls_, path, missing_,
                                             openListings_);
}

bool FaultyFileSystem::status(const std::string& path, bool follow, platform::FileStatus& out) {
    ++statusCalls_;
    if (missing_.count(path) != 0 || !real_->status(path, follow, out)) {
        return false;
    }
    changeDevice(path, out);
    return true;
}

void FaultyFileSystem::changeDevice(const std::string& path, platform::FileStatus& status) const {
    for (const auto& [folder, seen] : devices_) {
        if (path.starts_with(folder)) {
            status.device = seen.first;
            status.inode |= seen.second;
        }
    }
}

std::optional<std::string> FaultyFileSystem::canonicalPath(const std::string& path) {
    return real_->canonicalPath(path);
}

bool FaultyFileSystem::moveFile(const std::string& from, const std::string& to,
                                platform::StopQuery& stop) {
    if (unmovable_.count(to) != 0) {
        return false;
    }
    if (beforeMove_) {
        beforeMove_(from, to);
    }
    return real_->moveFile(from, to, stop);
}

std::unique_ptr<platform::FileReader> FaultyFileSystem::openForReading(
    const std::string& path, platform::OpenFailure& failure) {
    failure = platform::OpenFailure::Unreadable;
    if (unopenable_.count(path) != 0) {
        return nullptr;
    }
    std::unique_lock lock(readers_);
    if (descriptorShortage_ > 0 || (readerLimit_ >= 0 && openReaders_ >= readerLimit_)) {
        descriptorShortage_ = std::max(descriptorShortage_ - 1, 0);
        ++descriptorRefusals_;
        failure = platform::OpenFailure::OutOfDescriptors;
        return nullptr;
    }
    ++openReaders_;  // taken now, so that no other thread slips past the limit
    lock.unlock();
    auto reader = real_->openForReading(path, failure);
    lock.lock();
    if (!reader) {
        --openReaders_;
        return reader;
    }
    if (unreadable_.count(path) != 0) {
        --openReaders_;
        return std::make_unique<FailingReader>(std::move(reader));
    }
    ++opens_[path];
    opensOnOtherThreads_ += std::this_thread::get_id() == owner_ ? 0 : 1;
    peakOpenReaders_ = std::max(peakOpenReaders_, openReaders_);
    platform::FileStatus status = reader->status();
    changeDevice(path, status);
    return std::make_unique<CountingReader>(std::move(reader), bytesRead_[path], openReaders_,
                                            readers_, status);
}

bool FaultyFileSystem::removeFile(const std::string& path) {
    removeCalls_.push_back(path);
    if (beforeRemove_) {
        beforeRemove_(path);
    }
    if (undeletable_.count(path) != 0 || failOnce_.erase(path) != 0) {
        return false;
    }
    return real_->removeFile(path);
}

platform::Descriptor FaultyFileSystem::openToShare(const std::string& path,
                                                   platform::FileStatus& status) {
    platform::Descriptor file = real_->openToShare(path, status);
    if (file.valid()) {
        sharing_[file.get()] = path;
        changeDevice(path, status);
    }
    return file;
}

platform::RangeSharing FaultyFileSystem::shareRange(int original, int duplicate,
                                                    std::int64_t offset, std::int64_t length) {
    const auto named = sharing_.find(duplicate);
    const std::string path = named == sharing_.end() ? std::string() : named->second;
    shareCalls_.push_back(path + " " + std::to_string(offset) + " " + std::to_string(length));
    if (beforeShare_) {
        beforeShare_(path, offset);
    }
    if (differing_.count(path) != 0) {
        return {platform::SharingResult::Differs, 0};
    }
    return real_->shareRange(original, duplicate, offset, length);
}

bool FaultyFileSystem::hardLink(const std::string& existing, const std::string& name) {
    return unlinkable_.count(existing) == 0 && real_->hardLink(existing, name);
}

platform::ExchangeResult FaultyFileSystem::exchangeNames(const std::string& a,
                                                         const std::string& b) {
    if (unexchangeable_.count(a) != 0 || unexchangeable_.count(b) != 0) {
        return platform::ExchangeResult::Unsupported;
    }
    if (beforeExchange_) {
        beforeExchange_(a, b);
    }
    return real_->exchangeNames(a, b);
}

platform::FolderAccess FaultyFileSystem::folderAccess(const std::string& path) {
    const auto seen = folderAccess_.find(path);
    return seen != folderAccess_.end() ? seen->second : real_->folderAccess(path);
}

bool FaultyFileSystem::makeFolders(const std::string& folder, std::size_t kept,
                                   platform::FolderMaking* listener) {
    if (beforeMakeFolders_) {
        beforeMakeFolders_(folder);
    }
    return real_->makeFolders(folder, kept, listener);
}

bool FaultyFileSystem::removeFolder(const std::string& path) {
    return real_->removeFolder(path);
}

int FaultyFileSystem::descriptorRefusals() const {
    std::lock_guard lock(readers_);
    return descriptorRefusals_;
}

int FaultyFileSystem::peakOpenReaders() const {
    std::lock_guard lock(readers_);
    return peakOpenReaders_;
}

int FaultyFileSystem::opensOnOtherThreads() const {
    std::lock_guard lock(readers_);
    return opensOnOtherThreads_;
}

std::int64_t FaultyFileSystem::bytesRead(const std::string& path) const {
    std::lock_guard lock(readers_);
    const auto it = bytesRead_.find(path);
    return it == bytesRead_.end() ? 0 : it->second;
}

int FaultyFileSystem::opens(const std::string& path) const {
    std::lock_guard lock(readers_);
    const auto it = opens_.find(path);
    return it == opens_.end() ? 0 : it->second;
}

}  // namespace folivar::test
