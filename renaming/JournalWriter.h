#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/JournalFile.h"

namespace folivar {

// Writes the records of a running batch on a thread of its own, so the moves
// do not wait for them: it looks up each moved file's identity, appends the
// records in the order given, in groups, and syncs them to disk about once a
// second. At most kMostUnwritten moves are ever waiting to be written: a move
// waits for room.
class JournalWriter {
public:
    static constexpr std::size_t kMostUnwritten = 256;
    // Records are written in groups of this many, or what is there after a
    // short wait.
    static constexpr std::size_t kGroup = 64;

    explicit JournalWriter(platform::JournalFile file);
    // Writes what is waiting and stops.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // The file of the row was moved to this path.
    void moved(std::size_t row, std::string to);
    // This line is written out, after every record given before it, by the
    // time this returns.
    void writeNow(std::string line);
    // The last line, after everything else, synced to disk; the thread ends.
    void finish(std::string line);

    // A write failed: what follows is not recorded.
    bool failed();

private:
    struct Item {
        std::size_t row = 0;
        std::string text;  // the path moved to, or a whole line
        bool line = false;
    };

    void run();
    void write(std::deque<Item>& items);

    platform::JournalFile file_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> waiting_;
    std::uint64_t given_ = 0;    // items handed over
    std::uint64_t written_ = 0;  // items written out
    bool urgent_ = false;        // a line is to be written at once
    bool stopping_ = false;
    bool failed_ = false;
    std::thread thread_;
};

}  // namespace folivar
