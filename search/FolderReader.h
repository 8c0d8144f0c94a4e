#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DirectoryListing.h"
#include "platform/FileStatus.h"
#include "platform/FileSystem.h"
#include "platform/HelperStart.h"
#include "platform/IoPool.h"
#include "search/FolderQueue.h"
#include "search/StatusHint.h"
#include "search/WalkReadAhead.h"

namespace folivar {

// The walk's I/O: lists the folder being reported and reads its entries'
// status, and, with more than one request in flight, does the same for the
// folders queued next while the walk reports. The walk asks for one folder at a
// time, in its queue's order, and gets each entry as the listing gave it.
// Everything but the requests themselves runs on the walk's thread.
class FolderReader {
public:
    enum class Status : std::uint8_t {
        NotRead,  // not wanted: the walk reads it itself if it needs it
        Pending,  // being read
        Read,
        Gone,  // vanished since it was listed
    };

    struct Entry {
        std::string_view name;  // NUL-terminated
        platform::EntryKind kind = platform::EntryKind::Unknown;
        Status status = Status::NotRead;
        // For a link or an entry of unknown kind (always read): whether it is a
        // link; its status is its target's when there is one.
        bool isLink = false;
        // Where its status goes once read; nullptr for one not read ahead.
        platform::FileStatus* st = nullptr;
    };

    // queue: the walk's queue, read on the walk's thread only, to start on the
    // folders at its front.
    FolderReader(const FolderQueue& queue, const WalkReadAhead& limits, StatusHint hint);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // Takes up the next folder: the root (fromQueue false), then each folder
    // just taken from the queue's front. True when it can be listed.
    bool open(const std::string& path, bool fromQueue);
    FolderId id() const { return id_; }
    // Leaves the rest of the folder unread.
    void skip();

    // The folder's next entry; nullptr at its end.
    const Entry* next();
    // The status of an entry that was not read ahead (Status::NotRead).
    bool status(const Entry& entry, bool follow, platform::FileStatus& out);

    // Most entries held at once (listed, not yet handed out), for the tests.
    std::size_t peakHeld() const { return peak_; }

private:
    enum class ChunkState : std::uint8_t { Queued, Running, Done };
    enum class JobState : std::uint8_t { Idle, Queued, Running, Paused, Done };
    struct Batch;
    struct Job;

    bool openListing(Job& job, bool byWalk);
    std::unique_ptr<platform::DirectoryListing> openWhenDescriptorsFree(const std::string& path);
    void giveBackReadAhead();
    void startRequestsWhenWorthIt();
    void schedule();
    void runList(const std::shared_ptr<Job>& job);
    void listStep(const std::shared_ptr<Job>& job, bool onlyOnce, bool helpers);
    void listUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& done);
    bool fill(Job& job, Batch& batch, bool helpers);
    void runChunk(const std::shared_ptr<Job>& job, const std::shared_ptr<Batch>& batch,
                  std::size_t chunk);
    void readChunk(Job& job, Batch& batch, std::size_t chunk);
    void awaitChunk(std::size_t chunk);
    void submitList(const std::shared_ptr<Job>& job);
    void release(Batch& batch, std::unique_lock<std::mutex>& lock);
    void resumePaused(std::unique_lock<std::mutex>& lock);
    void cancel(Job& job, std::unique_lock<std::mutex>& lock);
    void wakeWalk();
    bool isHead(const Job& job) const;
    std::uint64_t priority(const Job& job, std::size_t batch, std::size_t chunk) const;

    const FolderQueue& queue_;
    const WalkReadAhead limits_;
    const StatusHint hint_;
    platform::FileSystem& fs_;

    // Listings open, of the folder being reported and those read ahead.
    std::atomic<int> listingsOpen_{0};
    // Set by a request that could not open a folder for want of descriptors.
    std::atomic<bool> descriptorsShort_{false};

    // Guards the jobs' and batches' states, the counts and the waits below.
    std::mutex mutex_;
    std::condition_variable ready_;
    bool walkWaits_ = false;
    std::size_t held_ = 0;
    std::size_t peak_ = 0;
    std::size_t paused_ = 0;
    std::uint64_t headSeq_ = 0;

    // The walk's own: the folder reported now, the batch within it, and the
    // folders at the queue's front already taken up (job i is queue entry i).
    std::uint64_t nextSeq_ = 0;
    std::shared_ptr<Job> current_;
    std::shared_ptr<Batch> batch_;
    std::size_t index_ = 0;
    std::size_t readyChunk_ = 0;
    FolderId id_;
    std::deque<std::shared_ptr<Job>> ahead_;
    std::size_t foldersAhead_ = 0;  // at most this many in ahead_
    platform::HelperStart start_;   // asked per batch or folder

    // Started by the walk's thread once worth it; last: its threads end before
    // anything they use.
    std::optional<platform::IoPool> pool_;
};

}  // namespace folivar
