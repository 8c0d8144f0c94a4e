#include "search/FolderReader.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

#include "platform/OpenFileLimit.h"

namespace folivar {

// Entries listed together, names kept in one buffer. Chunks of limits.chunk
// entries have their status read by one request each.
struct FolderReader::Batch {
    std::string names;
    std::vector<Entry> entries;
    std::vector<platform::FileStatus> statuses;  // of the entries read ahead
    std::vector<ChunkState> chunks;              // guarded
    std::size_t number = 0;
};

// One folder taken up. Whoever runs its listing (state Running) owns listing's
// reading and made; everything marked guarded is read and written under the
// reader's lock.
struct FolderReader::Job {
    std::string path;
    std::uint64_t seq = 0;
    std::unique_ptr<platform::DirectoryListing> listing;  // set before opened
    std::atomic<int>* listingsOpen = nullptr;             // counts listing while set
    bool openTried = false;
    std::size_t made = 0;
    bool opened = false;                         // guarded
    std::size_t published = 0;                   // guarded
    std::deque<std::shared_ptr<Batch>> batches;  // guarded: listed, not yet handed out
    JobState state = JobState::Idle;             // guarded
    bool cancelled = false;                      // guarded

    ~Job() {
        if (listing) {
            listing.reset();
            --*listingsOpen;
        }
    }
};

namespace {

WalkReadAhead bounded(WalkReadAhead limits) {
    limits.batch = std::max<std::size_t>(limits.batch, 1);
    limits.chunk = std::max<std::size_t>({limits.chunk, 1, (limits.batch + 254) / 255});
    limits.entries = std::max<std::size_t>(limits.entries, 1);
    if (limits.requests <= 1) {
        limits.folders = 0;
    } else if (limits.folders > 0) {
        limits.folders =
            std::min(limits.folders, platform::descriptorShare(limits.folders + 1) - 1);
    }
    return limits;
}

bool isLinkOrUnknown(platform::EntryKind kind) {
    return kind == platform::EntryKind::SymbolicLink || kind == platform::EntryKind::Unknown;
}

// A link's target's status (the link's own when the target is gone); for an
// entry of unknown kind first whether it is a link at all.
bool resolve(platform::DirectoryListing& listing, FolderReader::Entry& entry) {
    const platform::DirectoryEntry listed{entry.name, entry.kind};
    entry.isLink = entry.kind == platform::EntryKind::SymbolicLink;
    if (!entry.isLink) {
        if (!listing.status(listed, false, *entry.st)) {
            return false;
        }
        entry.isLink = entry.st->isSymbolicLink();
        if (!entry.isLink) {
            return true;
        }
    }
    return listing.status(listed, true, *entry.st) || listing.status(listed, false, *entry.st);
}

}  // namespace

FolderReader::FolderReader(const FolderQueue& queue, const WalkReadAhead& limits, StatusHint hint)
    : queue_(queue),
      limits_(bounded(limits)),
      hint_(std::move(hint)),
      fs_(platform::fileSystem()),
      foldersAhead_(limits_.folders),
      start_(limits_.fromStart, limits_.waitsBeforeStart) {
    if (limits_.requests > 1 && start_.atOnce()) {
        pool_.emplace(limits_.requests);
    }
}

FolderReader::~FolderReader() {
    std::unique_lock lock(mutex_);
    if (current_) {
        cancel(*current_, lock);
    }
    for (const auto& job : ahead_) {
        cancel(*job, lock);
    }
    // The pool, destroyed first, drops what has not started and waits for the
    // requests running; those find their jobs cancelled and stop.
}

bool FolderReader::isHead(const Job& job) const {
    return job.seq == headSeq_;
}

std::uint64_t FolderReader::priority(const Job& job, std::size_t batch, std::size_t chunk) const {
    // The folders in the walk's order, within one its batches in order, a
    // batch's status before the next batch is listed.
    constexpr std::size_t kMaxBatch = (std::size_t{1} << 24) - 1;
    return (job.seq << 32) | (std::min(batch, kMaxBatch) << 8) | chunk;
}

void FolderReader::wakeWalk() {
    if (walkWaits_) {
        ready_.notify_one();
    }
}

void FolderReader::startRequestsWhenWorthIt() {
    if (!pool_ && limits_.requests > 1 && start_.due()) {
        pool_.emplace(limits_.requests);
    }
}

void FolderReader::submitList(const std::shared_ptr<Job>& job) {
    pool_->submit(priority(*job, job->published, 0), [this, job] { runList(job); });
}

void FolderReader::schedule() {
    if (descriptorsShort_.exchange(false)) {
        foldersAhead_ /= 2;
    }
    // Refilled in bursts: a request woken for every single folder would cost
    // more than listing it when the cache is warm.
    if (!pool_ || ahead_.size() > foldersAhead_ / 2) {
        return;
    }
    while (ahead_.size() < foldersAhead_ && ahead_.size() < queue_.size()) {
        auto job = std::make_shared<Job>();
        job->path = queue_[ahead_.size()].path;
        job->seq = nextSeq_++;
        std::unique_lock lock(mutex_);
        job->state = JobState::Queued;
        submitList(job);
        ahead_.push_back(std::move(job));
    }
}

bool FolderReader::open(const std::string& path, bool fromQueue) {
    std::unique_lock lock(mutex_);
    if (current_) {
        cancel(*current_, lock);  // anything the walk left unread
    }
    batch_.reset();
    if (fromQueue && !ahead_.empty()) {
        current_ = std::move(ahead_.front());
        ahead_.pop_front();
    } else {
        current_ = std::make_shared<Job>();
        current_->path = path;
        current_->seq = nextSeq_++;
    }
    Job& job = *current_;
    headSeq_ = job.seq;
    if (job.state == JobState::Paused) {  // the head reads on past the bound
        --paused_;
        job.state = JobState::Queued;
        submitList(current_);
    }
    lock.unlock();
    startRequestsWhenWorthIt();
    schedule();
    lock.lock();
    listUntil(lock, [&job] { return job.opened; });
    if (!job.listing) {
        return false;
    }
    id_ = FolderId{job.listing->device(), job.listing->inode()};
    return true;
}

void FolderReader::skip() {
    std::unique_lock lock(mutex_);
    if (batch_) {
        release(*batch_, lock);
        batch_.reset();
    }
    cancel(*current_, lock);
}

const FolderReader::Entry* FolderReader::next() {
    for (;;) {
        if (batch_) {
            if (index_ < batch_->entries.size()) {
                const std::size_t chunk = index_ / limits_.chunk;
                if (chunk >= readyChunk_) {
                    awaitChunk(chunk);
                    readyChunk_ = chunk + 1;
                }
                return &batch_->entries[index_++];
            }
            {
                std::unique_lock lock(mutex_);
                release(*batch_, lock);
            }
            batch_.reset();
            startRequestsWhenWorthIt();
            schedule();
        }
        std::unique_lock lock(mutex_);
        Job& job = *current_;
        listUntil(lock, [&job] { return !job.batches.empty() || job.state == JobState::Done; });
        if (job.batches.empty()) {
            return nullptr;
        }
        batch_ = std::move(job.batches.front());
        job.batches.pop_front();
        index_ = 0;
        readyChunk_ = 0;
        if (job.state == JobState::Paused && job.batches.size() < 2) {
            --paused_;
            job.state = JobState::Queued;
            submitList(current_);
        }
    }
}

// Until done(): lists the folder being reported on the walk's own thread when
// no request is at it, else waits for the request.
void FolderReader::listUntil(std::unique_lock<std::mutex>& lock,
                             const std::function<bool()>& done) {
    Job& job = *current_;
    while (!done()) {
        if (job.state == JobState::Running) {
            walkWaits_ = true;
            ready_.wait(lock);
            walkWaits_ = false;
            continue;
        }
        if (job.state == JobState::Paused) {
            --paused_;
        }
        job.state = JobState::Running;
        lock.unlock();
        listStep(current_, true, pool_.has_value());
        lock.lock();
    }
}

bool FolderReader::status(const Entry& entry, bool follow, platform::FileStatus& out) {
    return current_->listing->status(platform::DirectoryEntry{entry.name, entry.kind}, follow, out);
}

void FolderReader::runList(const std::shared_ptr<Job>& job) {
    {
        std::lock_guard lock(mutex_);
        if (job->cancelled || job->state != JobState::Queued) {
            return;  // the walk took it up itself, or left it
        }
        job->state = JobState::Running;
    }
    listStep(job, false, true);
}

// Opens the job's folder; false when a request ran out of descriptors: the
// walk opens it itself when it comes to it.
bool FolderReader::openListing(Job& job, bool byWalk) {
    platform::OpenFailure failure = platform::OpenFailure::None;
    job.listing = fs_.openDirectory(job.path, failure);
    if (!job.listing && failure == platform::OpenFailure::OutOfDescriptors) {
        if (!byWalk) {
            descriptorsShort_ = true;
            return false;
        }
        job.listing = openWhenDescriptorsFree(job.path);
    }
    job.openTried = true;
    if (job.listing) {
        ++listingsOpen_;
        job.listingsOpen = &listingsOpen_;
    }
    return true;
}

// The walk needs this folder now and descriptors ran out: the folders read
// ahead give theirs back, and the folder is opened again as soon as one is
// free. The wait counts against the patience only while the walk holds no
// listing any more: then others hold the descriptors.
std::unique_ptr<platform::DirectoryListing> FolderReader::openWhenDescriptorsFree(
    const std::string& path) {
    giveBackReadAhead();
    auto pause = std::chrono::milliseconds(1);
    auto waited = std::chrono::milliseconds(0);
    for (;;) {
        platform::OpenFailure failure = platform::OpenFailure::None;
        auto listing = fs_.openDirectory(path, failure);
        if (listing || failure != platform::OpenFailure::OutOfDescriptors) {
            return listing;
        }
        if (listingsOpen_.load() == 0) {
            if (waited >= limits_.patience) {
                return nullptr;
            }
            waited += pause;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(100));
    }
}

// On the walk's thread: the folders taken up ahead are dropped, their
// listings closed once no request uses them, and fewer are read ahead from
// now on. The walk takes each up again when it comes to it.
void FolderReader::giveBackReadAhead() {
    std::unique_lock lock(mutex_);
    for (const auto& job : ahead_) {
        cancel(*job, lock);
    }
    lock.unlock();
    ahead_.clear();
    foldersAhead_ /= 2;
}

// Lists one batch and hands it over; a request goes on with the next while the
// bound allows, the walk (onlyOnce) leaves the rest to the requests.
void FolderReader::listStep(const std::shared_ptr<Job>& job, bool onlyOnce, bool helpers) {
    for (;;) {
        auto batch = std::make_shared<Batch>();
        bool end = true;
        bool leftToWalk = false;
        try {
            leftToWalk = !job->openTried && !openListing(*job, onlyOnce);
            end = leftToWalk || !job->listing || fill(*job, *batch, helpers);
        } catch (...) {  // out of memory: the listing ends here, as a failed read would
            batch->entries.clear();
            batch->chunks.clear();
        }
        if (leftToWalk) {
            std::lock_guard lock(mutex_);
            job->state = job->cancelled ? JobState::Done : JobState::Idle;
            if (isHead(*job)) {
                wakeWalk();
            }
            return;
        }
        // A folder's last (often only) batch: its status is read right here
        // rather than handed to another request.
        const bool readHere = helpers && !onlyOnce && end && batch->chunks.size() == 1;
        if (readHere && batch->chunks[0] == ChunkState::Queued) {
            readChunk(*job, *batch, 0);
            batch->chunks[0] = ChunkState::Done;
        }

        std::unique_lock lock(mutex_);
        job->opened = true;
        if (job->cancelled) {
            job->state = JobState::Done;
            return;
        }
        if (!batch->entries.empty()) {
            held_ += batch->entries.size();
            peak_ = std::max(peak_, held_);
            ++job->published;
            job->batches.push_back(batch);
            // The walk reads the first chunk of a batch it listed itself next.
            for (std::size_t c = onlyOnce ? 1 : 0; helpers && c < batch->chunks.size(); ++c) {
                if (batch->chunks[c] == ChunkState::Queued) {
                    pool_->submit(priority(*job, batch->number, c + 1),
                                  [this, job, batch, c] { runChunk(job, batch, c); });
                }
            }
        }
        if (isHead(*job)) {
            wakeWalk();
        }
        if (end) {
            job->state = JobState::Done;
            return;
        }
        if (onlyOnce) {
            job->state = helpers ? JobState::Queued : JobState::Idle;
            if (helpers) {
                submitList(job);
            }
            return;
        }
        const bool headWantsMore = isHead(*job) && job->batches.size() < 2;
        if (held_ >= limits_.entries && !headWantsMore) {
            job->state = JobState::Paused;
            ++paused_;
            return;
        }
    }
}

// True at the end of the listing. Without helpers the walk reads the status it
// needs when it needs it: only links and entries of unknown kind are read here.
bool FolderReader::fill(Job& job, Batch& batch, bool helpers) {
    batch.number = job.made++;
    batch.entries.reserve(limits_.batch);
    bool end = false;
    platform::DirectoryEntry listed;
    while (batch.entries.size() < limits_.batch) {
        if (!job.listing->next(listed)) {
            end = true;
            break;
        }
        Entry& entry = batch.entries.emplace_back();
        entry.kind = listed.kind;
        const bool wanted =
            isLinkOrUnknown(listed.kind) ||
            (helpers && hint_.wants(listed.name, listed.kind == platform::EntryKind::Directory));
        entry.status = wanted ? Status::Pending : Status::NotRead;
        entry.name = listed.name;  // only its length counts until the buffer stops moving
        batch.names.append(listed.name.data(), listed.name.size() + 1);  // with its NUL
    }
    const char* name = batch.names.data();
    std::size_t wanted = 0;
    for (Entry& entry : batch.entries) {
        entry.name = std::string_view(name, entry.name.size());
        name += entry.name.size() + 1;
        wanted += entry.status == Status::Pending ? 1 : 0;
    }
    batch.statuses.resize(wanted);
    platform::FileStatus* st = batch.statuses.data();
    for (Entry& entry : batch.entries) {
        if (entry.status == Status::Pending) {
            entry.st = st++;
        }
    }
    const std::size_t chunks = (batch.entries.size() + limits_.chunk - 1) / limits_.chunk;
    batch.chunks.assign(chunks, ChunkState::Done);
    for (std::size_t i = 0; i < batch.entries.size(); ++i) {
        if (batch.entries[i].status == Status::Pending) {
            batch.chunks[i / limits_.chunk] = ChunkState::Queued;
        }
    }
    return end;
}

void FolderReader::runChunk(const std::shared_ptr<Job>& job, const std::shared_ptr<Batch>& batch,
                            std::size_t chunk) {
    {
        std::lock_guard lock(mutex_);
        if (job->cancelled || batch->chunks[chunk] != ChunkState::Queued) {
            return;
        }
        batch->chunks[chunk] = ChunkState::Running;
    }
    readChunk(*job, *batch, chunk);
    std::lock_guard lock(mutex_);
    batch->chunks[chunk] = ChunkState::Done;
    if (isHead(*job)) {
        wakeWalk();
    }
}

void FolderReader::readChunk(Job& job, Batch& batch, std::size_t chunk) {
    const std::size_t from = chunk * limits_.chunk;
    const std::size_t to = std::min(from + limits_.chunk, batch.entries.size());
    for (std::size_t i = from; i < to; ++i) {
        Entry& entry = batch.entries[i];
        if (entry.status != Status::Pending) {
            continue;
        }
        const bool found =
            isLinkOrUnknown(entry.kind)
                ? resolve(*job.listing, entry)
                : job.listing->status(platform::DirectoryEntry{entry.name, entry.kind}, true,
                                      *entry.st);
        entry.status = found ? Status::Read : Status::Gone;
    }
}

void FolderReader::awaitChunk(std::size_t chunk) {
    std::unique_lock lock(mutex_);
    for (;;) {
        ChunkState& state = batch_->chunks[chunk];
        if (state == ChunkState::Done) {
            return;
        }
        if (state == ChunkState::Queued) {
            state = ChunkState::Running;
            lock.unlock();
            readChunk(*current_, *batch_, chunk);
            lock.lock();
            batch_->chunks[chunk] = ChunkState::Done;
            return;
        }
        walkWaits_ = true;
        ready_.wait(lock);
        walkWaits_ = false;
    }
}

void FolderReader::release(Batch& batch, std::unique_lock<std::mutex>& lock) {
    held_ -= batch.entries.size();
    if (paused_ > 0 && held_ < limits_.entries / 2) {
        resumePaused(lock);
    }
}

void FolderReader::resumePaused(std::unique_lock<std::mutex>&) {
    auto resume = [this](const std::shared_ptr<Job>& job) {
        if (job->state == JobState::Paused) {
            --paused_;
            job->state = JobState::Queued;
            submitList(job);
        }
    };
    if (current_) {
        resume(current_);
    }
    for (const auto& job : ahead_) {
        resume(job);
    }
}

void FolderReader::cancel(Job& job, std::unique_lock<std::mutex>&) {
    if (job.cancelled) {
        return;
    }
    job.cancelled = true;
    for (const auto& batch : job.batches) {
        held_ -= batch->entries.size();
    }
    job.batches.clear();
    if (job.state == JobState::Paused) {
        --paused_;
    }
    if (job.state != JobState::Running) {
        job.state = JobState::Done;
    }
}

}  // namespace folivar
