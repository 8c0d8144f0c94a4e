#include "renaming/JournalWriter.h"

#include <algorithm>
#include <chrono>

#include "platform/FileSystem.h"

namespace folivar {

namespace {

// How often the records are made to survive a power loss as well as a kill.
constexpr auto kSyncInterval = std::chrono::seconds(1);
// How long a record may wait for its group: moves across file systems can
// be slow.
constexpr auto kLongestWait = std::chrono::milliseconds(100);

std::optional<MovedIdentity> identityAt(const std::string& path) {
    platform::FileStatus status;
    if (!platform::fileSystem().status(path, false, status)) {
        return std::nullopt;
    }
    return MovedIdentity::of(status);
}

}  // namespace

JournalWriter::JournalWriter(platform::JournalFile file, std::vector<Source> sources)
    : file_(std::move(file)),
      sources_(std::move(sources)),
      seen_(sources_.size()),
      thread_([this] { run(); }) {}

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

void JournalWriter::awaitSource(std::size_t k) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this, k] { return identified_ > k || stopping_; });
}

void JournalWriter::moved(std::size_t k, std::string to) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return given_ - written_ < kMostUnwritten; });
    waiting_.push_back(Item{k, std::move(to), false});
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

void JournalWriter::appendMove(std::string& text, const Item& item) {
    const std::size_t row = sources_[item.source].row;
    const std::optional<MovedIdentity>& source = seen_[item.source];
    const std::string folder = item.text.substr(0, item.text.rfind('/') + 1);
    const auto known = inPlace_.find(folder);
    if (source && known != inPlace_.end() && known->second.device == source->device &&
        known->second.keepsFile) {
        journal::appendMovedLine(text, row);
        return;
    }
    // Right after the move: a move to another file system made a new file;
    // one within a file system kept it, unless it had to copy there too.
    const std::optional<MovedIdentity> made = identityAt(item.text);
    if (source && made && made->device == source->device) {
        inPlace_[folder] = InPlace{source->device, made->inode == source->inode};
    }
    journal::appendMovedLine(text, row, made);
}

void JournalWriter::write(const std::deque<Item>& items, std::size_t identified, std::size_t end) {
    std::string text;
    for (const Item& item : items) {
        if (item.line) {
            text += item.text;
        } else {
            appendMove(text, item);
        }
    }
    for (std::size_t k = identified; k < end; ++k) {
        seen_[k] = identityAt(sources_[k].path);
        journal::appendSourceLine(text, sources_[k].row, seen_[k]);
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
        // The sources are looked at as fast as they can be, ahead of the moves.
        const bool ahead = identified_ < sources_.size() && !stopping_;
        if (!ahead) {
            changed_.wait_for(lock, kLongestWait,
                              [this] { return stopping_ || urgent_ || waiting_.size() >= kGroup; });
            if (waiting_.empty()) {
                if (stopping_) {
                    return;  // everything written
                }
                continue;
            }
        }
        urgent_ = false;
        std::deque<Item> items;
        items.swap(waiting_);
        const std::size_t identified = identified_;
        const std::size_t end = ahead ? std::min(sources_.size(), identified + kGroup) : identified;
        lock.unlock();
        write(items, identified, end);
        const auto now = std::chrono::steady_clock::now();
        if (now - lastSync >= kSyncInterval) {
            file_.sync();
            lastSync = now;
        }
        lock.lock();
        written_ += items.size();
        identified_ = end;
        changed_.notify_all();
    }
}

}  // namespace folivar
