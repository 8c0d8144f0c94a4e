#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

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
    // At most this many folders may be open for listing at once, as under a
    // low descriptor limit; opening one more fails for want of descriptors.
    void limitOpenListings(int count) { listingLimit_ = count; }
    // Opens of folders refused for want of descriptors so far.
    int listingRefusals() const { return listingRefusals_.load(); }

    // The folder (given as asked for) seems to be as told, whatever it is.
    void seeFolderAs(const std::string& path, const platform::FolderAccess& access) {
        folderAccess_[path] = access;
    }

    // Listings give their entries sorted by name (descending: in reverse), so a
    // test can try both orders whatever the file system's own order is.
    enum class Order { AsListed, Ascending, Descending };
    void listInOrder(Order order) { order_ = order; }

    // This path seems not to exist: asking for its status fails, also as an
    // entry of its folder's listing (it vanished after it was listed).
    void failStatus(const std::string& path) { missing_.insert(path); }

    // Moving to this destination fails, and nothing is touched.
    void failMoveTo(const std::string& path) { unmovable_.insert(path); }

    // Runs just before each move is handed on, to play someone else's part.
    void beforeMove(std::function<void(const std::string& from, const std::string& to)> action) {
        beforeMove_ = std::move(action);
    }

    // Runs just before each making of folders is handed on, to play someone
    // else's part on the way.
    void beforeMakeFolders(std::function<void(const std::string& folder)> action) {
        beforeMakeFolders_ = std::move(action);
    }

    // Opening this file for reading fails.
    void failOpenForReading(const std::string& path) { unopenable_.insert(path); }
    // This file opens, but reading it fails.
    void failRead(const std::string& path) { unreadable_.insert(path); }
    // Deleting this file always fails.
    void failRemove(const std::string& path) { undeletable_.insert(path); }
    // Deleting this file fails once, then works.
    void failRemoveOnce(const std::string& path) { failOnce_.insert(path); }

    // At most this many files may be open for reading at once, as under a low
    // descriptor limit; opening one more fails for want of descriptors.
    void limitOpenReaders(int count) { readerLimit_ = count; }
    // The next count opens for reading fail for want of descriptors, as while
    // someone else holds them.
    void runOutOfDescriptors(int count) { descriptorShortage_ = count; }
    // Opens refused for want of descriptors so far, and the most readers open at once.
    int descriptorRefusals() const;
    int peakOpenReaders() const;
    // Files opened for reading by other threads than the one that made this.
    int opensOnOtherThreads() const;

    // Files under this folder (given with its trailing "/") seem to lie on
    // another device, as through a second mount of the same file system;
    // their inodes carry layerBits in their high bits, as an overlay with
    // xino gives them.
    void seeOnDevice(const std::string& folder, std::uint64_t device, std::uint64_t layerBits = 0) {
        devices_[folder] = {device, layerBits};
    }

    // Files handed to removeFile, in order, whether deleted or not.
    const std::vector<std::string>& removeCalls() const { return removeCalls_; }

    // How many folders were opened for listing, from any thread.
    int foldersOpened() const { return foldersOpened_.load(); }

    // How often a status was asked for, listings' entries included.
    int statusCalls() const { return statusCalls_.load(); }

    // Bytes read from this file and how often it was opened for reading.
    std::int64_t bytesRead(const std::string& path) const;
    int opens(const std::string& path) const;

    // Runs just before each delete is handed on, failing ones included.
    void beforeRemove(std::function<void(const std::string& path)> action) {
        beforeRemove_ = std::move(action);
    }

    // The kernel finds the data of this duplicate different from its
    // original's, whatever the bytes are.
    void shareDiffers(const std::string& duplicate) { differing_.insert(duplicate); }
    // Runs just before each range of a duplicate is handed on to be shared.
    void beforeShare(
        std::function<void(const std::string& duplicate, std::int64_t offset)> action) {
        beforeShare_ = std::move(action);
    }
    // Ranges handed on to be shared, "<duplicate> <offset> <length>", in order.
    const std::vector<std::string>& shareCalls() const { return shareCalls_; }
    // A further name for this file (given as asked for) is refused.
    void failLink(const std::string& existing) { unlinkable_.insert(existing); }
    // Swapping this name with another is refused as the file system does
    // that cannot swap names.
    void failExchange(const std::string& path) { unexchangeable_.insert(path); }
    // Runs just before each exchange is handed on, to play someone else's part.
    void beforeExchange(std::function<void(const std::string& a, const std::string& b)> action) {
        beforeExchange_ = std::move(action);
    }

    using platform::FileSystem::openDirectory;
    std::unique_ptr<platform::DirectoryListing> openDirectory(
        const std::string& path, platform::OpenFailure& failure) override;
    bool status(const std::string& path, bool follow, platform::FileStatus& out) override;
    std::optional<std::string> canonicalPath(const std::string& path) override;
    using platform::FileSystem::moveFile;
    bool moveFile(const std::string& from, const std::string& to,
                  platform::StopQuery& stop) override;
    std::unique_ptr<platform::FileReader> openForReading(const std::string& path,
                                                         platform::OpenFailure& failure) override;
    bool removeFile(const std::string& path) override;
    platform::Descriptor openToShare(const std::string& path,
                                     platform::FileStatus& status) override;
    platform::RangeSharing shareRange(int original, int duplicate, std::int64_t offset,
                                      std::int64_t length) override;
    bool hardLink(const std::string& existing, const std::string& name) override;
    platform::ExchangeResult exchangeNames(const std::string& a, const std::string& b) override;
    platform::FolderAccess folderAccess(const std::string& path) override;
    bool makeFolders(const std::string& folder, std::size_t kept,
                     platform::FolderMaking* listener) override;
    bool removeFolder(const std::string& path) override;

private:
    class CountingListing;
    class SortedListing;
    class FailingReader;
    class CountingReader;

    void changeDevice(const std::string& path, platform::FileStatus& status) const;

    platform::FileSystem* real_;
    std::thread::id owner_ = std::this_thread::get_id();
    Order order_ = Order::AsListed;
    std::set<std::string> unlistable_;
    std::set<std::string> unmovable_;
    std::set<std::string> missing_;
    std::set<std::string> unopenable_;
    std::set<std::string> unreadable_;
    std::set<std::string> undeletable_;
    std::set<std::string> failOnce_;
    std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> devices_;
    std::map<std::string, platform::FolderAccess> folderAccess_;
    // Listings are opened and closed on the walk's request threads.
    int listingLimit_ = -1;
    std::atomic<int> openListings_{0};
    std::atomic<int> listingRefusals_{0};
    // Guards what follows up to the next blank line: the duplicate search
    // opens and reads files from several threads.
    mutable std::mutex readers_;
    int readerLimit_ = -1;
    int descriptorShortage_ = 0;
    int descriptorRefusals_ = 0;
    int openReaders_ = 0;
    int peakOpenReaders_ = 0;
    std::map<std::string, std::int64_t> bytesRead_;
    std::map<std::string, int> opens_;
    int opensOnOtherThreads_ = 0;

    std::vector<std::string> removeCalls_;
    std::function<void(const std::string&, const std::string&)> beforeMove_;
    std::atomic<int> statusCalls_{0};
    std::atomic<int> foldersOpened_{0};  // the walk's requests ask from several threads
    std::function<void(const std::string&)> beforeRemove_;
    std::function<void(const std::string&)> beforeMakeFolders_;

    std::map<int, std::string> sharing_;  // open descriptors by the path they were opened as
    std::set<std::string> differing_;
    std::vector<std::string> shareCalls_;
    std::function<void(const std::string&, std::int64_t)> beforeShare_;
    std::set<std::string> unlinkable_;
    std::set<std::string> unexchangeable_;
    std::function<void(const std::string&, const std::string&)> beforeExchange_;
};

}  // namespace folivar::test
