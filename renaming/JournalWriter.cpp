#include "renaming/JournalWriter.h"

#include <chrono>

#include "platform/FileSystem.h"
#include "renaming/JournalLines.h"

namespace folivar {

namespace {

// How often the records are made to survive a power loss as well as a kill.
constexpr auto kSyncInterval = std::chrono::seconds(1);
// How long a record may wait for its group: moves across file systems can
// be slow.
constexpr auto kLongestWait = std::chrono::milliseconds(100);

}  // namespace

JournalWriter::JournalWriter(platform::JournalFile file)
    : file_(std::move(file)), thread_([this] { run(); }) {}

JournalWriter::~JournalWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void JournalWriter::moved(std::size_t row, std::string to) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return given_ - written_ < kMostUnwritten; });
    waiting_.push_back(Item{row, std::move(to), false});
    ++given_;
    const bool group = waiting_.size() >= kGroup;
    lock.unlock();
    if (group) {
        changed_.notify_all();
    }
}

void JournalWriter::writeNow(std::string line) {
    std::unique_lock lock(mutex_);
    waiting_.push_back(Item{0, std::move(line), true});
    const std::uint64_t mine = ++given_;
    urgent_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this, mine] { return written_ >= mine; });
}

void JournalWriter::finish(std::string line) {
    writeNow(std::move(line));
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    if (!file_.sync()) {
        const std::lock_guard lock(mutex_);
        failed_ = true;
    }
}

bool JournalWriter::failed() {
    const std::lock_guard lock(mutex_);
    return failed_;
}

void JournalWriter::write(std::deque<Item>& items) {
    std::string text;
    platform::FileSystem& fs = platform::fileSystem();
    for (const Item& item : items) {
        if (item.line) {
            text += item.text;
            continue;
        }
        // Right after the move: a move to another file system made a new
        // inode, and a rename changed only the change time.
        platform::FileStatus status;
        std::optional<MovedIdentity> identity;
        if (fs.status(item.text, false, status)) {
            identity = MovedIdentity::of(status);
        }
        journal::appendMovedLine(text, item.row, identity);
    }
    if (!file_.append(text)) {
        const std::lock_guard lock(mutex_);
        failed_ = true;
    }
}

void JournalWriter::run() {
    auto lastSync = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait_for(lock, kLongestWait,
                          [this] { return stopping_ || urgent_ || waiting_.size() >= kGroup; });
        if (waiting_.empty()) {
            if (stopping_) {
                return;  // everything written
            }
            continue;
        }
        urgent_ = false;
        std::deque<Item> items;
        items.swap(waiting_);
        lock.unlock();
        write(items);
        const auto now = std::chrono::steady_clock::now();
        if (now - lastSync >= kSyncInterval) {
            file_.sync();
            lastSync = now;
        }
        lock.lock();
        written_ += items.size();
        changed_.notify_all();
    }
}

}  // namespace folivar
